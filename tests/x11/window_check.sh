#!/usr/bin/env bash
# Under a real X server: the game opens an 800 x 600 window showing the
# canvas, and a close request from the window system shuts it down cleanly
# (exit code 0, report written). Optional screenshot path as second argument.
# Usage: window_check.sh path/to/tumblewell [screenshot.png] [send_close helper]
set -euo pipefail
BIN=$1
SHOT=${2:-}
CLOSE=${3:-$(dirname "$BIN")/tw_send_close}
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool not installed"; exit 77; }
done
WORK=$(mktemp -d)
XPID=
GPID=
cleanup() {
  [ -n "$GPID" ] && kill "$GPID" 2>/dev/null || true
  [ -n "$XPID" ] && kill "$XPID" 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT

# Pick a free display number.
for n in $(seq 90 120); do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then DISP=":$n"; break; fi
done
Xvfb "$DISP" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
XPID=$!
for _ in $(seq 50); do
  DISPLAY=$DISP xdotool getdisplaygeometry >/dev/null 2>&1 && break
  sleep 0.1
done
export DISPLAY=$DISP

APP=$(dirname "$BIN")
mkdir -p "$WORK/data/textures"
for f in fonts sfx music font.ini wd.jpg wd_wow.jpg; do
  [ -e "$APP/$f" ] && ln -s "$(realpath "$APP/$f")" "$WORK/data/$f"
done
if [ -d "$APP/textures" ]; then
  for f in "$APP"/textures/*; do
    case "$(basename "$f")" in options.bmp|dot_black2.bmp|dot_white2.bmp) continue ;; esac
    ln -s "$(realpath "$f")" "$WORK/data/textures/"
  done
fi
XDG_CONFIG_HOME="$WORK/config" SDL_AUDIODRIVER=dummy "$BIN" --data "$WORK/data" \
  --report "$WORK/report.json" >"$WORK/out" 2>"$WORK/err" &
GPID=$!

WID=$(timeout 20 xdotool search --sync --name '^Tumblewell$' | head -1)
[ -n "$WID" ] || { echo "FAIL: no window"; exit 1; }
sleep 1
eval "$(xdotool getwindowgeometry --shell "$WID")"
echo "window $WID: ${WIDTH}x${HEIGHT}"
[ "$WIDTH" = 800 ] && [ "$HEIGHT" = 600 ] || { echo "FAIL: window is ${WIDTH}x${HEIGHT}, not 800x600"; exit 1; }
if [ -n "$SHOT" ] && command -v import >/dev/null && [ -x /usr/bin/convert ]; then
  import -window "$WID" "$SHOT" 2>/dev/null || true
fi

# A polite close request, as a window manager's close button sends.
"$CLOSE" "$WID"
for _ in $(seq 100); do
  kill -0 "$GPID" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$GPID" 2>/dev/null; then echo "FAIL: the game did not close"; exit 1; fi
CODE=0
wait "$GPID" || CODE=$?
GPID=
[ "$CODE" = 0 ] || { echo "FAIL: exit code $CODE"; cat "$WORK/err"; exit 1; }
[ -s "$WORK/report.json" ] || { echo "FAIL: no report after closing"; exit 1; }
echo "PASS: 800x600 window, closed cleanly after $(python3 -c 'import json,sys; print(json.load(open(sys.argv[1]))["frames"])' "$WORK/report.json") frames"
