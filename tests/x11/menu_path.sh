#!/usr/bin/env bash
# Under a real X server: a person's path through the front end. Start with no
# arguments (first start: the story), page through it to the main menu,
# select New Game, give the game up with Escape and see the menu return.
# Screenshots of the menu screens go to the folder given as second argument.
# Usage: menu_path.sh path/to/tumblewell shots-folder [send_close helper]
set -euo pipefail
. "$(dirname "$0")/../support/shell_lib.sh"
BIN=$1
SHOTS=$2
CLOSE=${3:-$(dirname "$BIN")/tw_send_close}
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool not installed"; exit 77; }
done
mkdir -p "$SHOTS"
tw_run_game_in_xvfb "$BIN"
WORK=$TW_WORK
GPID=$TW_GAME_PID
WID=$TW_WINDOW
tw_focus "$WID" || echo "note: the window's focus could not be confirmed"
# Screenshots need ImageMagick's import; without it the path is still checked.
shot() { if command -v import >/dev/null; then timeout 30 import -window "$WID" "$SHOTS/$1" || true; fi; }

STATE=$WORK/state
# A key pressed and let go (a tap between two frames still counts once);
# then the check waits for the state the key leads to.
press() { xdotool keydown "$1"; xdotool keyup "$1"; }
step() { press "$1"; tw_wait_state "$STATE" "$2" || exit 1; }

tw_wait_state "$STATE" 'mode=menu screen=story ' || exit 1   # the loading picture has gone
shot story.png
step Return 'screen=story2 '             # story page 2
tw_wait_frames "$STATE" 20 || exit 1     # page 1 has faded out (its end would select New Game)
step Return 'screen=- item=3 '           # main menu, Story selected
tw_wait_frames "$STATE" 20 || exit 1     # page 2 has faded out (its end selects Story again)
step Up 'screen=- item=2 '
step Up 'screen=- item=1 '               # New Game
tw_wait_frames "$STATE" 75 || exit 1     # the buttons have faded in (for the picture)
shot main_menu.png
step Return 'mode=playing '              # the game starts after the fade
step Escape 'mode=(game_over|menu) '     # give up
tw_wait_state "$STATE" 'mode=menu screen=- item=1 ' || exit 1   # the game fades out, the menu returns
tw_wait_frames "$STATE" 50 || exit 1
shot menu_after_game.png

"$CLOSE" "$WID"
tw_wait_for 30 tw_game_gone || { echo "FAIL: the game did not close"; exit 1; }
CODE=0
wait "$GPID" || CODE=$?
TW_GAME_PID=
[ "$CODE" = 0 ] || { echo "FAIL: exit code $CODE"; cat "$WORK/err"; exit 1; }
python3 - "$WORK/report.json" <<'PY'
import json, sys
r = json.load(open(sys.argv[1]))
ok = (r["mode"] == "menu" and r["menu"]["screen"] == "" and r["menu"]["item"] == 1
      and r["played_games"] == 1 and r["options"]["story_readen"])
print("report:", r["mode"], r["menu"], "played_games", r["played_games"], "story_readen", r["options"]["story_readen"])
print("PASS" if ok else "FAIL")
sys.exit(0 if ok else 1)
PY
