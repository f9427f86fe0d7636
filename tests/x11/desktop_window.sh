#!/usr/bin/env bash
# Under a real X server with a small window manager: Alt+Enter and F11 switch
# between window and full screen at once (and the choice is saved), a resized
# window keeps the 4:3 picture with black bars, and a game in play pauses
# when the window loses the focus. Screenshots go to the folder given.
# Usage: desktop_window.sh path/to/tumblewell shots-folder send_close-helper
set -euo pipefail
. "$(dirname "$0")/../support/shell_lib.sh"
BIN=$1
SHOTS=$2
CLOSE=$3
for tool in Xvfb xdotool evilwm import; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool not installed"; exit 77; }
done
[ -x /usr/bin/convert ] || { echo "SKIP: ImageMagick's convert not installed"; exit 77; }
mkdir -p "$SHOTS"
tw_start_desktop "$(dirname "$BIN")"

# start_game NAME: a story game at once; sets GPID, WID and STATE (the game's
# --state file, which the checks wait on).
start_game() {
  tw_launch_in_window "$1" 'mode=playing ' --start story --report "$WORK/$1.json"
}
# close_game NAME: a polite close; sets MODE to the mode the report recorded.
close_game() {
  tw_close_window "$1"
  MODE=$(python3 -c 'import json,sys; print(json.load(open(sys.argv[1]))["mode"])' "$WORK/$1.json")
}
size() { xdotool getwindowgeometry --shell "$WID" | awk -F= '/WIDTH|HEIGHT/{printf "%s%s", s, $2; s="x"}'; }
size_is() { [ "$(size)" = "$1" ]; }
full_screen_saved() { sed -n "s/^FULL_SCREEN *= *\([A-Za-z]*\).*/\1/p" "$WORK/data/textures/options.bmp"; }
saved_is() { [ "$(full_screen_saved)" = "$1" ]; }
# Colour of pixel X,Y of a picture, as ImageMagick names it.
pixel() { /usr/bin/convert "$1" -format "%[pixel:p{$2,$3}]" info:; }
is_black() { case "$(pixel "$1" "$2" "$3")" in black|"srgb(0,0,0)") return 0 ;; esac; return 1; }
# The window's picture at 1000 x 500: 4:3 is 666 x 500 from x = 167, with
# black bars left and right (taken again until the game has drawn it so).
bars_shown() {
  timeout 30 import -window "$WID" "$SHOT" 2>/dev/null || return 1
  for x in 2 160 840 997; do is_black "$SHOT" $x 250 || return 1; done
  for x in 175 500 825; do ! is_black "$SHOT" $x 10 || return 1; done
}

start_game toggles
[ "$(size)" = 800x600 ] || fail "window starts $(size)"
xdotool key alt+Return
tw_wait_for 20 size_is 1280x1024 || fail "Alt+Enter: window is $(size), not the whole 1280x1024 screen"
tw_wait_state "$STATE" 'full_screen=1 ' || exit 1
saved_is True || fail "Alt+Enter not saved"
timeout 30 import -window root "$SHOTS/full_screen_1280x1024.png" || true
xdotool key F11
tw_wait_for 20 size_is 800x600 || fail "F11: window is $(size), not back to 800x600"
tw_wait_state "$STATE" 'full_screen=0 ' || exit 1
saved_is False || fail "F11 not saved"
xdotool windowsize "$WID" 1000 500
tw_wait_for 20 size_is 1000x500 || fail "resize refused: $(size)"
SHOT=$SHOTS/resized_1000x500.png
tw_wait_for 20 bars_shown || fail "no 4:3 picture with black bars in the 1000x500 window ($SHOT)"
close_game toggles
[ "$MODE" = playing ] || fail "switching the window paused the game ($MODE)"

# The same game left alone plays on; with the focus taken away it pauses.
start_game alone
tw_wait_frames "$STATE" 50 || exit 1
close_game alone
[ "$MODE" = playing ] || fail "a game left alone did not keep playing ($MODE)"
start_game away
timeout 10 xdotool windowfocus "$(xwininfo -root | awk '/Window id/{print $4}')" 2>/dev/null || true
tw_wait_state "$STATE" 'mode=paused ' || exit 1
close_game away
[ "$MODE" = paused ] || fail "losing the focus did not pause the game ($MODE)"
echo "PASS: Alt+Enter/F11 switch and save, a 1000x500 window keeps 4:3 with bars ($SHOT), focus loss pauses"
