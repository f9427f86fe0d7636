#!/usr/bin/env bash
# All the performance figures in one run, at real pace with the offscreen
# software renderer:
#   - the main menu (turning background) for 500 frames;
#   - a busy game (bench/busy_minute.keys: a bomb every 10 frames) for 1000 frames;
# for each: CPU seconds per second of play, work per frame (median and 99th
# percentile of thread CPU time), the mean frame period and the frames more
# than 1 ms late. Then the headless start-up time (a start that runs no frame
# and quits), median of 7 warm starts, and what that start wrote to disk.
# Usage: bench/bench_all.sh [path/to/tumblewell]
set -euo pipefail
. "$(dirname "$0")/../tests/support/shell_lib.sh"
BIN=${1:-build/tumblewell}
KEYS="$(cd "$(dirname "$0")" && pwd)/busy_minute.keys"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
# Use the built data without touching the build's own options and scores.
tw_link_app_data "$(dirname "$BIN")" "$WORK/data"
# The story has been read, so the menu run stays on the main menu.
printf '[main]\r\nStoryReaden=True\r\n' > "$WORK/data/textures/options.bmp"
export XDG_CONFIG_HOME="$WORK/config"

"$BIN" --offscreen --frames 501 --data "$WORK/data" --report "$WORK/menu.json" >/dev/null
"$BIN" --offscreen --start arcade --seed 7 --frames 1001 --keys "$KEYS" --data "$WORK/data" \
  --report "$WORK/game.json" >/dev/null

# Warm start-up: one start first fills the caches and writes first-start files.
"$BIN" --headless --frames 0 --data "$WORK/data" >/dev/null
: > "$WORK/startup.txt"
for _ in 1 2 3 4 5 6 7; do
  python3 - "$BIN" "$WORK/data" >>"$WORK/startup.txt" <<'PY'
import subprocess, sys, time
t = time.perf_counter()
subprocess.run([sys.argv[1], "--headless", "--frames", "0", "--data", sys.argv[2]],
               stdout=subprocess.DEVNULL, check=True)
print(time.perf_counter() - t)
PY
done
# Files a warm start still writes (newer than a mark set just before it).
touch "$WORK/mark"
sleep 0.05
"$BIN" --headless --frames 0 --data "$WORK/data" >/dev/null
WRITTEN=$(find -L "$WORK/data" "$WORK/config" -type f -newer "$WORK/mark" | wc -l)

python3 - "$WORK/menu.json" "$WORK/game.json" "$WORK/startup.txt" "$WRITTEN" <<'PY'
import json, statistics, sys
print(f"{'offscreen, real pace':24} {'CPU s/s':>8} {'work med':>9} {'work p99':>9} {'mean period':>12} {'late>1ms':>9}")
for path, name in zip(sys.argv[1:3], ("menu (500 frames)", "busy game (1000 frames)")):
    t = json.load(open(path))["timing"]
    cpu = t["cpu_seconds"] / t["wall_seconds"] if t["wall_seconds"] > 0 else float("nan")
    print(f"{name:24} {cpu:8.3f} {t['work_median_ms']:7.2f}ms {t['work_p99_ms']:7.2f}ms"
          f" {t['mean_period_ms']:9.4f} ms {t['late_frames']:5d}/{t['frames']}")
times = [float(x) for x in open(sys.argv[3]).read().split()]
print(f"headless warm start-up: median {statistics.median(times):.3f} s (min {min(times):.3f}, max {max(times):.3f});"
      f" files written by a warm start: {sys.argv[4]}")
PY
