# Convenience targets over the CMake build. `make play` and `make test` work on
# a fresh Debian 12 machine: they install what is missing first.
BUILD_DIR ?= build
JOBS ?= 2

ASAN_BUILD_DIR ?= build-asan
FUZZ_BUILD_DIR ?= build-fuzz
# Seconds per fuzz target: short in CI, longer by hand (make fuzz FUZZ_SECONDS=3600).
FUZZ_SECONDS ?= 300
CCACHE := $(shell command -v ccache 2>/dev/null)
LAUNCHER := $(if $(CCACHE),-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# Leaks kept by X11/D-Bus and friends are not ours (also for the data
# generator, which runs during the build).
SAN_ENV := LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp:print_suppressions=0 \
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

.PHONY: web web-serve web-test bench-web web-test-deps play test build deps install package bench bench-pacing bench-frame-cost bench-replay bench-playability bench-feel clean \
	build-asan test-asan build-fuzz fuzz fuzz-ci soak kill-test coverage

deps:
	./scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD_DIR) -j$(JOBS)

# The game, its data, desktop entry, icons, metainfo and man page under PREFIX
# (the game finds its data relative to itself, so any prefix works).
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)

# The Debian package tumblewell_<version>_<arch>.deb in BUILD_DIR, made by
# CPack from the install rules (see README, Installing).
package: build
	cmake --build $(BUILD_DIR) -j$(JOBS) --target package

play: build
	./$(BUILD_DIR)/tumblewell

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j$(JOBS)

# All the performance figures in one run: the menu and a busy game offscreen
# at real pace, and the headless start-up; see README.
bench: build
	./bench/bench_all.sh $(BUILD_DIR)/tumblewell

# Frame pacing in the menu (10 s, offscreen); see README.
bench-pacing: build
	./bench/frame_pacing.sh $(BUILD_DIR)/tumblewell

# CPU time per game frame over a busy minute, offscreen and headless; see README.
bench-frame-cost: build
	./bench/frame_cost.sh $(BUILD_DIR)/tumblewell

# Replay start state saved and loaded, recording and playback per frame; see README.
bench-replay: build
	cmake --build $(BUILD_DIR) --target tw_replay_bench
	./$(BUILD_DIR)/tw_replay_bench

# Both autoplayers (held to a person's limits, and unlimited) over 100 seeds
# per mode, an idle game's score, then the scripted newcomers; see README.
PLAY_SEEDS ?= 100
bench-playability: build
	./bench/autoplay_table.sh $(BUILD_DIR)/tumblewell $(PLAY_SEEDS)
	./bench/newcomers.sh $(BUILD_DIR)/tumblewell 20

# Feel figures of both tuning files; see README.
bench-feel: build
	cmake --build $(BUILD_DIR) --target feel_figures
	./$(BUILD_DIR)/feel_figures data/tuning_story.ini story
	./$(BUILD_DIR)/feel_figures data/tuning_arcade.ini arcade

# The whole suite built with AddressSanitizer + UndefinedBehaviorSanitizer.
build-asan: deps
	cmake -S . -B $(ASAN_BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTUMBLEWELL_SANITIZE=ON $(LAUNCHER)
	$(SAN_ENV) cmake --build $(ASAN_BUILD_DIR) -j$(JOBS)

# The X11 checks stay in the plain suite: they pace a person's key presses with
# fixed sleeps, which a sanitized binary running at a third of the speed misses.
test-asan: build-asan
	$(SAN_ENV) ctest --test-dir $(ASAN_BUILD_DIR) --output-on-failure -j$(JOBS) -LE x11

# Line coverage of src/ by the whole suite (gcovr over a --coverage build);
# the summary ends with the lines covered and the share of src/'s lines.
COVERAGE_BUILD_DIR ?= build-coverage
coverage: deps
	cmake -S . -B $(COVERAGE_BUILD_DIR) -DCMAKE_BUILD_TYPE=Debug -DTUMBLEWELL_COVERAGE=ON $(LAUNCHER)
	cmake --build $(COVERAGE_BUILD_DIR) -j$(JOBS)
	find $(COVERAGE_BUILD_DIR) -name '*.gcda' -delete
	-ctest --test-dir $(COVERAGE_BUILD_DIR) -j$(JOBS) -LE x11
	gcovr --root . --filter 'src/' --object-directory $(COVERAGE_BUILD_DIR) --print-summary \
	  --txt $(COVERAGE_BUILD_DIR)/coverage.txt

# The libFuzzer targets (clang).
build-fuzz: deps
	cmake -S . -B $(FUZZ_BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 \
	  -DTUMBLEWELL_FUZZ=ON -DTUMBLEWELL_BUILD_TESTS=OFF $(LAUNCHER)
	cmake --build $(FUZZ_BUILD_DIR) -j$(JOBS) --target fuzz_targets

fuzz: build-fuzz
	./fuzz/run.sh $(FUZZ_BUILD_DIR)/fuzz $(FUZZ_SECONDS)

# A fixed seed: CI retraces the same inputs every time, so it fails only on a
# change to the code, never on a lucky draw (that is what `make fuzz` is for).
fuzz-ci: build-fuzz
	TW_FUZZ_SEED=20261207 ./fuzz/run.sh $(FUZZ_BUILD_DIR)/fuzz 20

# A million frames over many games under the sanitizers (a few minutes; see README).
soak: build-asan
	$(SAN_ENV) ./bench/soak.sh $(ASAN_BUILD_DIR)/tumblewell

# The kill test at length (the suite runs a short one).
kill-test: build-asan
	TW_KILL_ROUNDS=300 $(SAN_ENV) ctest --test-dir $(ASAN_BUILD_DIR) --output-on-failure -R KillTest

clean:
	rm -rf $(BUILD_DIR) $(ASAN_BUILD_DIR) $(FUZZ_BUILD_DIR) $(COVERAGE_BUILD_DIR)

# --- The browser version ------------------------------------------------------
# The SDL2 libraries are built once per machine (scripts/build-web-deps.sh);
# the page's data comes from the native build.
WEB_BUILD_DIR ?= build-web
WEB_PORT ?= 8018

web: build
	nice -n 10 ./scripts/build-web.sh $(BUILD_DIR) $(WEB_BUILD_DIR)

# A local server for the built page, on 127.0.0.1 only; it sends the .gz
# copies to browsers that take gzip, as a host with precompressed files does.
web-serve: web
	@echo "Serving the game at http://127.0.0.1:$(WEB_PORT)/ (Ctrl-C stops)"
	python3 web/serve.py $(WEB_PORT) --directory $(WEB_BUILD_DIR)/site

# Headless Chromium (Debian's) driven by puppeteer-core from npm, with no browser download.
web-test-deps:
	./scripts/install-web-test-deps.sh

# What web/serve.py sends; the first load's transfer (at most 15 MB); story,
# menu and a game by keys; the picture at pixel densities 1-3; a phone played
# by touch; the failure pages; offline after one visit and after a rebuild;
# the ten attract replays against the native build's ends; a high score named
# on a phone and kept across a reload; saves through failing IndexedDB opens,
# exported and imported.
web-test: web web-test-deps
	node web/test/web-test.mjs --site $(WEB_BUILD_DIR)/site --native $(BUILD_DIR)

# Frames per second and main-thread busy share over 20 s of a busy game at
# 1920x1080 and pixel density 2, per renderer.
bench-web: web web-test-deps
	node web/test/web-test.mjs --site $(WEB_BUILD_DIR)/site --native $(BUILD_DIR) --bench
