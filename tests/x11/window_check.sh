#!/usr/bin/env bash
# Under a real X server: the game opens an 800 x 600 window showing the
# canvas, and a close request from the window system shuts it down cleanly
# (exit code 0, report written). Optional screenshot path as second argument.
# Usage: window_check.sh path/to/tumblewell [screenshot.png] [send_close helper]
set -euo pipefail
. "$(dirname "$0")/../support/shell_lib.sh"
BIN=$1
SHOT=${2:-}
CLOSE=${3:-$(dirname "$BIN")/tw_send_close}
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool not installed"; exit 77; }
done
tw_run_game_in_xvfb "$BIN"
WORK=$TW_WORK
GPID=$TW_GAME_PID
WID=$TW_WINDOW
# The game runs (its first frame is in the state file); the window's size.
window_is_800x600() { xdotool getwindowgeometry --shell "$WID" | grep -q '^WIDTH=800$' && xdotool getwindowgeometry --shell "$WID" | grep -q '^HEIGHT=600$'; }
tw_wait_for 10 window_is_800x600 || true
eval "$(xdotool getwindowgeometry --shell "$WID")"
echo "window $WID: ${WIDTH}x${HEIGHT}"
[ "$WIDTH" = 800 ] && [ "$HEIGHT" = 600 ] || { echo "FAIL: window is ${WIDTH}x${HEIGHT}, not 800x600"; exit 1; }
if [ -n "$SHOT" ] && command -v import >/dev/null && [ -x /usr/bin/convert ]; then
  timeout 30 import -window "$WID" "$SHOT" 2>/dev/null || true
fi

# A polite close request, as a window manager's close button sends.
"$CLOSE" "$WID"
tw_wait_for 30 tw_game_gone || { echo "FAIL: the game did not close"; exit 1; }
CODE=0
wait "$GPID" || CODE=$?
TW_GAME_PID=
[ "$CODE" = 0 ] || { echo "FAIL: exit code $CODE"; cat "$WORK/err"; exit 1; }
[ -s "$WORK/report.json" ] || { echo "FAIL: no report after closing"; exit 1; }
echo "PASS: 800x600 window, closed cleanly after $(python3 -c 'import json,sys; print(json.load(open(sys.argv[1]))["frames"])' "$WORK/report.json") frames"
