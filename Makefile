# Convenience targets over the CMake build. `make play` and `make test` work on
# a fresh Debian 12 machine: they install what is missing first.
BUILD_DIR ?= build
JOBS ?= 2

.PHONY: play test build deps install bench bench-pacing bench-frame-cost bench-replay bench-playability bench-feel clean

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

# The autoplayer over 30 seeds per mode, and an idle game's score; see README.
bench-playability: build
	./bench/autoplay_table.sh $(BUILD_DIR)/tumblewell 30

# Feel figures of both tuning files; see README.
bench-feel: build
	cmake --build $(BUILD_DIR) --target feel_figures
	./$(BUILD_DIR)/feel_figures data/tuning_story.ini story
	./$(BUILD_DIR)/feel_figures data/tuning_arcade.ini arcade

clean:
	rm -rf $(BUILD_DIR)
