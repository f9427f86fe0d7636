#!/usr/bin/env bash
# Under a real X server: a person's path through the front end. Start with no
# arguments (first start: the story), page through it to the main menu,
# select New Game, give the game up with Escape and see the menu return.
# Screenshots of the menu screens go to the folder given as second argument.
# Usage: menu_path.sh path/to/tumblewell shots-folder [send_close helper]
set -euo pipefail
. "$(dirname "$0")/../support/shell_lib.sh"
tw_retry_once "$0" "$@"
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
xdotool windowfocus --sync "$WID" 2>/dev/null || true
# Screenshots need ImageMagick's import; without it the path is still checked.
shot() { if command -v import >/dev/null; then import -window "$WID" "$SHOTS/$1" || true; fi; }

# A key held for a tenth of a second: several frames, acting once.
press() { xdotool keydown "$1"; sleep 0.1; xdotool keyup "$1"; sleep 0.3; }

sleep 2                                  # loading picture fades out over the story
shot story.png
press Return                             # story page 2
press Return                             # main menu, Story selected
press Up; press Up                       # New Game
sleep 1.5
shot main_menu.png
press Return                             # the game starts after the fade
sleep 2
press Escape                             # give up
sleep 2.5                                # the game fades out, the menu fades in
shot menu_after_game.png

"$CLOSE" "$WID"
for _ in $(seq 100); do kill -0 "$GPID" 2>/dev/null || break; sleep 0.1; done
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
