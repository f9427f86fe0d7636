#!/usr/bin/env bash
# Frame pacing benchmark: 10 s (500 frames) in the menu with the offscreen
# renderer, then the mean frame period, the worst lateness and the CPU cost
# per second of play, read from the game's own report.
# Usage: bench/frame_pacing.sh [path/to/tumblewell] [frames] [--offscreen|--headless]
# --offscreen (default) includes drawing the menu with the software renderer;
# --headless leaves drawing out and shows what the frame clock itself costs.
set -euo pipefail
. "$(dirname "$0")/../tests/support/shell_lib.sh"
BIN=${1:-build/tumblewell}
FRAMES=${2:-500}
BACKEND=${3:---offscreen}
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
# Use the built data without touching the build's own options and scores.
tw_link_app_data "$(dirname "$BIN")" "$WORK/data"
# The story has been read, so the run stays on the main menu.
printf '[main]\r\nStoryReaden=True\r\n' > "$WORK/data/textures/options.bmp"
XDG_CONFIG_HOME="$WORK/config" "$BIN" "$BACKEND" --data "$WORK/data" --frames "$FRAMES" \
  --report "$WORK/report.json" >/dev/null
python3 - "$WORK/report.json" <<'PY'
import json, sys
t = json.load(open(sys.argv[1]))["timing"]
print(f"frames measured:        {t['frames']}")
print(f"mean frame period:      {t['mean_period_ms']:.4f} ms (target 20.00)")
print(f"worst lateness:         {t['max_late_ms']:.3f} ms")
print(f"frames over 1 ms late:  {t['late_frames']}")
print(f"wall time:              {t['wall_seconds']:.2f} s")
cpu = t['cpu_seconds'] / t['wall_seconds'] if t['wall_seconds'] > 0 else float('nan')
print(f"CPU seconds per second: {cpu:.4f} (main loop only)")
PY
