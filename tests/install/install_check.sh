#!/usr/bin/env bash
# An install into a fresh prefix, as a package would make it: the layout is
# complete, the desktop entry and metainfo validate, and the game run from the
# read-only prefix keeps options and high scores in the user data folder
# (they survive a restart), writes nothing into the prefix even when root runs
# it, says once when that folder cannot be written, and
# names the folders it looked in when its data is missing.
# Usage: install_check.sh BUILD_DIR
set -euo pipefail
BUILD=$1
. "$(dirname "$0")/common.sh"
need_tools desktop-file-validate appstreamcli python3
make_scratch
P=$WORK/prefix
ID=org.tumblewell.Tumblewell
cmake --install "$BUILD" --prefix "$P" >/dev/null
for f in bin/tumblewell share/tumblewell/font.ini share/tumblewell/textures/lvl1.bmp \
         share/applications/$ID.desktop share/metainfo/$ID.metainfo.xml share/man/man6/tumblewell.6.gz \
         share/icons/hicolor/scalable/apps/$ID.svg; do
  [ -e "$P/$f" ] || fail "missing $f"
done
for size in 48 128 256; do
  python3 - "$P/share/icons/hicolor/${size}x${size}/apps/$ID.png" "$size" <<'PY' || fail "icon $size"
import struct, sys
data = open(sys.argv[1], 'rb').read(32)
w, h = struct.unpack('>II', data[16:24])
assert data[:8] == b'\x89PNG\r\n\x1a\n' and w == h == int(sys.argv[2]), (w, h)
PY
done
[ ! -e "$P/share/tumblewell/textures/options.bmp" ] || fail "the build folder's options were shipped"
desktop-file-validate "$P/share/applications/$ID.desktop" || fail "desktop entry"
appstreamcli validate --no-net "$P/share/metainfo/$ID.metainfo.xml" >"$WORK/as.txt" || { cat "$WORK/as.txt"; fail "metainfo"; }

# The prefix becomes read-only (the player cannot write to it either).
chmod -R a-w "$P"
setup_player
GAME_BIN=$P/bin/tumblewell

# Run 1: leave the story, go to Options, turn the sound off (saved at once).
cat >"$WORK/keys.txt" <<'KEYS'
5 Escape down
6 Escape up
40 Down down
41 Down up
45 Down down
46 Down up
50 Down down
51 Down up
60 Return down
61 Return up
80 Up down
81 Up up
90 Return down
91 Return up
KEYS
chmod 644 "$WORK/keys.txt"
game --headless --frames 120 --keys "$WORK/keys.txt" --report "$WORK/out/r1.json" 2>"$WORK/out/err1" || { cat "$WORK/out/err1"; fail "run 1"; }
U=$WORK/home/data/tumblewell
[ -f "$U/textures/options.bmp" ] || fail "no options file in $U"
[ -f "$U/textures/dot_black2.bmp" ] || fail "no high-score file in $U"
grep -qi '^Sound_On *= *False' "$U/textures/options.bmp" || fail "sound choice not saved: $(cat "$U/textures/options.bmp")"
[ ! -s "$WORK/out/err1" ] || { cat "$WORK/out/err1"; fail "run 1 complained"; }
# The player's table, edited between runs, is the one read back.
sed -i 's/^0n=.*/0n=KEEPER/' "$U/textures/dot_black2.bmp"

game --headless --frames 3 --report "$WORK/out/r2.json" 2>"$WORK/out/err2" || { cat "$WORK/out/err2"; fail "run 2"; }
[ "$(report "$WORK/out/r2.json" 'd["options"]["sound_on"]')" = False ] || fail "sound choice lost on restart"
[ "$(report "$WORK/out/r2.json" 'd["high_scores"][0]["name"]')" = KEEPER ] || fail "high scores lost on restart"

# Screenshots go to the pictures folder.
printf '5 S down\n6 S up\n' >"$WORK/shot.txt"
chmod 644 "$WORK/shot.txt"
game --offscreen --frames 10 --keys "$WORK/shot.txt" 2>"$WORK/out/err5" || { cat "$WORK/out/err5"; fail "screenshot run"; }
[ -s "$WORK/home/pictures/screenshot001.bmp" ] || fail "no screenshot in XDG_PICTURES_DIR"

# An unwritable user data folder: one line on stderr, the game plays on.
mkdir -p "$WORK/locked"
chmod 555 "$WORK/locked"
XDG_DATA_HOME_FOR_RUN=$WORK/locked game --headless --frames 30 --report "$WORK/out/r3.json" 2>"$WORK/out/err3" ||
  fail "an unwritable user folder stopped the game"
[ "$(grep -c 'cannot write to' "$WORK/out/err3")" = 1 ] || { cat "$WORK/out/err3"; fail "expected one note"; }

# Run by root (who can write to the prefix): still an installed copy, so the
# options, table, replay and screenshot go to root's own folders and nothing
# new appears under the prefix.
if [ "$(id -u)" = 0 ]; then
  find "$P" | sort >"$WORK/out/before"
  mkdir -p "$WORK/roothome"
  env -i HOME="$WORK/roothome" SDL_AUDIODRIVER=dummy PATH=/usr/bin:/bin "$P/bin/tumblewell" --fast --offscreen \
    --frames 40 --keys "$WORK/shot.txt" 2>"$WORK/out/err6" || { cat "$WORK/out/err6"; fail "root run"; }
  find "$P" | sort >"$WORK/out/after"
  diff "$WORK/out/before" "$WORK/out/after" || fail "a root run wrote under the install prefix"
  [ -f "$WORK/roothome/.local/share/tumblewell/textures/options.bmp" ] || fail "root's options not in its own folder"
fi

# No data anywhere: one clear message naming both folders, non-zero exit.
mkdir -p "$WORK/bare/bin"
cp "$P/bin/tumblewell" "$WORK/bare/bin/"
chmod -R a+rX "$WORK/bare"
code=0
env -i HOME="$WORK/home" "${RUN[@]}" "$WORK/bare/bin/tumblewell" --headless --frames 1 2>"$WORK/out/err4" || code=$?
[ "$code" != 0 ] || fail "missing data went unnoticed"
grep -q "looked in $WORK/bare/bin and $WORK/bare/share/tumblewell" "$WORK/out/err4" || { cat "$WORK/out/err4"; fail "message"; }
echo "PASS: installed layout validates; options and high scores kept in the user data folder across runs"
