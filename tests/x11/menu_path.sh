#!/usr/bin/env bash
# Under a real X server: a person's path through the front end. Start with no
# arguments (first start: the story), page through it to the main menu,
# select New Game, give the game up with Escape and see the menu return.
# Screenshots of the menu screens go to the folder given as second argument.
# Usage: menu_path.sh path/to/tumblewell shots-folder [send_close helper]
set -euo pipefail
BIN=$1
SHOTS=$2
CLOSE=${3:-$(dirname "$BIN")/tw_send_close}
for tool in Xvfb xdotool import; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool not installed"; exit 77; }
done
mkdir -p "$SHOTS"
WORK=$(mktemp -d)
XPID=
GPID=
cleanup() {
  [ -n "$GPID" ] && kill "$GPID" 2>/dev/null || true
  [ -n "$XPID" ] && kill "$XPID" 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT

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
for f in "$APP"/textures/*; do
  case "$(basename "$f")" in options.bmp|dot_black2.bmp|dot_white2.bmp) continue ;; esac
  ln -s "$(realpath "$f")" "$WORK/data/textures/"
done
XDG_CONFIG_HOME="$WORK/config" SDL_AUDIODRIVER=dummy "$BIN" --data "$WORK/data" \
  --report "$WORK/report.json" >"$WORK/out" 2>"$WORK/err" &
GPID=$!

WID=$(timeout 20 xdotool search --sync --name '^Tumblewell$' | head -1)
[ -n "$WID" ] || { echo "FAIL: no window"; exit 1; }
xdotool windowfocus --sync "$WID" 2>/dev/null || true
# A key held for a tenth of a second: several frames, acting once.
press() { xdotool keydown "$1"; sleep 0.1; xdotool keyup "$1"; sleep 0.3; }

sleep 2                                  # loading picture fades out over the story
import -window "$WID" "$SHOTS/story.png"
press Return                             # story page 2
press Return                             # main menu, Story selected
press Up; press Up                       # New Game
sleep 1.5
import -window "$WID" "$SHOTS/main_menu.png"
press Return                             # the game starts after the fade
sleep 2
press Escape                             # give up
sleep 2.5                                # the game fades out, the menu fades in
import -window "$WID" "$SHOTS/menu_after_game.png"

"$CLOSE" "$WID"
for _ in $(seq 100); do kill -0 "$GPID" 2>/dev/null || break; sleep 0.1; done
CODE=0
wait "$GPID" || CODE=$?
GPID=
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
