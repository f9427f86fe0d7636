#!/usr/bin/env bash
# Under a real X server with a small window manager: the Return of Alt+Enter
# never reads as Return, whichever of the two keys is let go first (the main
# menu does not start a game), a plain Return still does; and F11 while an
# arcade replay plays, with arcade mode still locked, saves the player's own
# mode rather than the replay's. Every wait is on the game's --state file or
# the window, never a fixed time.
# Usage: keys_and_playback.sh path/to/tumblewell send_close-helper
set -euo pipefail
. "$(dirname "$0")/../support/shell_lib.sh"
BIN=$1
CLOSE=$2
for tool in Xvfb xdotool evilwm; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool not installed"; exit 77; }
done
APP=$(dirname "$BIN")
ARCADE=$(grep -l '^mode=arcade' "$APP"/replay*.ini | head -1 || true)
[ -n "$ARCADE" ] || { echo "SKIP: no arcade replay in $APP"; exit 77; }
tw_start_desktop "$APP"
OPTIONS=$WORK/data/textures/options.bmp
printf '[main]\r\nDetails_High=True\r\nGameMode_Story=True\r\nSound_On=True\r\nFULL_SCREEN=False\r\nArcadeLocked=True\r\nStoryReaden=True\r\n' >"$OPTIONS"
option() { sed -n "s/^$1 *= *\([A-Za-z]*\).*/\1/p" "$OPTIONS"; }

# start NAME ARGS...: the game with a state file; waits for its first frame
# and gives its window the focus. Sets GPID, WID and STATE.
start() {
  local name=$1
  shift
  tw_launch_in_window "$name" '^frame=' "$@"
}
stop() { tw_close_window "$1"; }

# 1. Alt+Enter on the main menu, New Game selected.
start keys
tw_wait_state "$STATE" 'mode=menu screen=- item=1 ' || exit 1
xdotool keydown alt
xdotool keydown Return
xdotool keyup alt          # Alt first: Return is still down, alone
xdotool keyup Return
tw_wait_state "$STATE" 'full_screen=1 ' || exit 1
tw_wait_frames "$STATE" 60 || exit 1
tw_state_is "$STATE" 'mode=menu screen=- item=1 ' || fail "Alt let go before Enter also pressed Return: $(cat "$STATE")"
xdotool keydown alt
xdotool keydown Return
xdotool keyup Return       # Enter first
xdotool keyup alt
tw_wait_state "$STATE" 'full_screen=0 ' || exit 1
tw_wait_frames "$STATE" 60 || exit 1
tw_state_is "$STATE" 'mode=menu screen=- item=1 ' || fail "Enter let go before Alt pressed Return: $(cat "$STATE")"
xdotool key Return         # a Return of its own starts the game
tw_wait_state "$STATE" 'mode=playing ' || exit 1
stop keys

# 2. F11 while an arcade replay plays, arcade mode still locked.
start playback --play "$ARCADE"
tw_wait_state "$STATE" 'mode=playing ' || exit 1
xdotool key F11
tw_wait_state "$STATE" 'full_screen=1 ' || exit 1
[ "$(option FULL_SCREEN)" = True ] || fail "F11 was not saved"
[ "$(option GameMode_Story)" = True ] || fail "the replay's arcade mode was saved as the player's: $(tr -d '\r' <"$OPTIONS" | tr '\n' ' ')"
[ "$(option ArcadeLocked)" = True ] || fail "arcade mode came unlocked"
stop playback
echo "PASS: Alt+Enter never reads as Return in either release order; F11 during an arcade replay keeps the player's story mode"
