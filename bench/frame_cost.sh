#!/usr/bin/env bash
# Frame-cost benchmark: a busy minute of play (3,000 game frames of arcade mode
# driven by bench/busy_minute.keys: a bomb every 10 frames, so the particle
# pool stays full and explosions, debris, falling tiles and splashes never
# stop). Runs it twice without frame waits: with the offscreen software
# renderer (world steps plus drawing), then headless (world steps and the
# frame's rules, no drawing). Prints the per-frame work time (thread CPU
# time) from the game's own report.
# Usage: bench/frame_cost.sh [path/to/tumblewell] [frames]
set -euo pipefail
. "$(dirname "$0")/../tests/support/shell_lib.sh"
BIN=${1:-build/tumblewell}
FRAMES=${2:-3000}
KEYS="$(cd "$(dirname "$0")" && pwd)/busy_minute.keys"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
# Use the built data without touching the build's own options and scores.
tw_link_app_data "$(dirname "$BIN")" "$WORK/data"
for backend in offscreen headless; do
  XDG_CONFIG_HOME="$WORK/config" "$BIN" --$backend --fast --start arcade --seed 7 --frames "$FRAMES" \
    --keys "$KEYS" --data "$WORK/data" --report "$WORK/$backend.json" >/dev/null
done
python3 - "$WORK/offscreen.json" "$WORK/headless.json" <<'PY'
import json, sys
for path, name in zip(sys.argv[1:], ("offscreen", "headless")):
    r = json.load(open(path))
    t, g = r["timing"], r["game"]
    state = "still playing" if r["mode"] == "playing" else f"ended ({r['mode']})"
    print(f"{name}: {t['frames'] + 1} frames, game {state} at level {g['level']}")
    print(f"  work per frame: median {t['work_median_ms']:.3f} ms, 99th percentile {t['work_p99_ms']:.3f} ms,"
          f" max {t['work_max_ms']:.3f} ms")
    if t["work_total_seconds"] > 0:
        print(f"  {(t['frames'] + 1) / t['work_total_seconds']:,.0f} frames per second of work")
PY
