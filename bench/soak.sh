#!/usr/bin/env bash
# Soak: one headless run of many frames (default 1,000,000) over many games:
# each cycle of 6,000 frames arms recording (T), starts games from the menu
# and plays them (walks, jumps, bombs, names confirmed), then leaves the keys
# alone so the game ends by itself and the menu shows an idle replay. Build with
# TUMBLEWELL_SANITIZE=ON (make soak) so leaks and undefined behaviour fail it.
# Prints frames, games, resident memory near the start and the end, and the
# frame-work median of the first and the last tenth of the run.
# Usage: bench/soak.sh [path/to/tumblewell] [frames]
set -euo pipefail
. "$(dirname "$0")/../tests/support/shell_lib.sh"
BIN=${1:-build/tumblewell}
FRAMES=${2:-1000000}
WORK=$(mktemp -d /tmp/tw_soak.XXXXXX)
trap 'rm -rf "$WORK"' EXIT
tw_link_app_data "$(dirname "$BIN")" "$WORK/data"
printf '[main]\nDetails_High=True\nGameMode_Story=True\nSound_On=True\nFULL_SCREEN=False\nArcadeLocked=True\nStoryReaden=True\n' \
  >"$WORK/data/textures/options.bmp"

CYCLE=6000
{
  for ((c = 0; c < FRAMES; c += CYCLE)); do
    echo "$((c + 2)) T down"; echo "$((c + 4)) T up"
    # Return every 300 frames: starts a game from the menu, confirms a name
    # after a game that ended, does nothing during play. No Escape: on the
    # main menu it selects Exit.
    for ((f = c + 10; f < c + 4000; f += 100)); do
      if (( (f / 100) % 3 == 0 )); then echo "$f Return down"; echo "$((f + 2)) Return up"; fi
      if (( (f / 100) % 2 )); then k=Right; else k=Left; fi
      echo "$((f + 5)) $k down"; echo "$((f + 65)) $k up"
      echo "$((f + 30)) Up down"; echo "$((f + 33)) Up up"
      echo "$((f + 70)) Space down"; echo "$((f + 72)) Space up"
    done
    # Then 2,000 frames without keys: a game in progress ends by itself,
    # the menu runs its idle replay of the recorded game.
  done
} >"$WORK/soak.keys"

XDG_CONFIG_HOME="$WORK/config" SDL_AUDIODRIVER=dummy "$BIN" --headless --fast --seed 11 --frames "$FRAMES" \
  --keys "$WORK/soak.keys" --data "$WORK/data" --report "$WORK/report.json" >"$WORK/out" 2>"$WORK/err" &
PID=$!
: >"$WORK/rss"
sleep 1
while kill -0 "$PID" 2>/dev/null; do
  awk '/VmRSS/ {print $2}' "/proc/$PID/status" 2>/dev/null >>"$WORK/rss" || true
  sleep 1
done
rc=0
wait "$PID" || rc=$?
if [ $rc -ne 0 ] || grep -qE 'runtime error|Sanitizer' "$WORK/err"; then
  echo "soak FAILED (exit $rc)"; head -30 "$WORK/err"; exit 1
fi
n=$(wc -l <"$WORK/rss")
tenth=$(( n / 10 > 0 ? n / 10 : 1 ))
rss_start=$(head -n "$tenth" "$WORK/rss" | sort -n | tail -1)
rss_end=$(tail -n "$tenth" "$WORK/rss" | sort -n | tail -1)
r="$WORK/report.json"
num() { grep -o "\"$1\":[^,}]*" "$r" | head -1 | cut -d: -f2; }
echo "frames: $(num frames)  games: $(num played_games)  samples: $n"
echo "peak resident memory: first tenth ${rss_start} kB, last tenth ${rss_end} kB"
echo "resident memory at each tenth (kB): $(awk -v n="$n" -v t="$tenth" 'NR % t == 0 && NR / t <= 10 {printf "%s ", $1}' "$WORK/rss")"
echo "frame work median: first tenth $(num work_median_first_tenth_ms) ms, last tenth $(num work_median_last_tenth_ms) ms"
if grep -q null "$r"; then echo "non-finite state in the report"; exit 1; fi
