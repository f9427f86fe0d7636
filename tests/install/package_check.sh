#!/usr/bin/env bash
# The Debian package, made by CPack from this build into a scratch folder:
# named and described as Debian expects, lintian-clean, laid out with the game
# in /usr/games, every copy of the version agreeing with the project's; then
# unpacked into a scratch root and played there as an unprivileged user: the
# first start, a game whose score enters the table, and the table read back
# from the user data folder by the next start.
# Usage: package_check.sh BUILD_DIR VERSION CPACK LINTIAN_ACCEPTED
set -euo pipefail
BUILD=$1
VERSION=$2
CPACK=$3
ACCEPTED=$4  # lintian warnings the package accepts, one tag a line, each with why
. "$(dirname "$0")/common.sh"
need_tools dpkg-deb dpkg-shlibdeps dpkg-parsechangelog lintian file python3
make_scratch

"$CPACK" -G DEB --config "$BUILD/CPackConfig.cmake" -B "$WORK/pkg" >"$WORK/cpack.log" 2>&1 ||
  { cat "$WORK/cpack.log"; fail "cpack"; }
DEB=$WORK/pkg/tumblewell_${VERSION}_$(dpkg --print-architecture).deb
[ -f "$DEB" ] || { ls "$WORK/pkg"; fail "no $DEB"; }

# Control fields: the section, and dependencies on the libraries the game
# links and the font it opens by path.
field() { dpkg-deb -f "$DEB" "$1"; }
[ "$(field Package) $(field Version) $(field Section)" = "tumblewell $VERSION games" ] ||
  fail "control: $(field Package) $(field Version) $(field Section)"
DEPENDS=$(field Depends)
for dep in libc6 libstdc++6 libsdl2-2.0-0 libsdl2-image-2.0-0 libsdl2-mixer-2.0-0 libsdl2-ttf-2.0-0 \
           fonts-dejavu-core; do
  tr ',' '\n' <<<"$DEPENDS" | sed 's/^ *//; s/ .*//' | grep -qxF "$dep" || fail "Depends lacks $dep: $DEPENDS"
done

# The layout: root's files, nothing writable by others, the game in /usr/games.
dpkg-deb -c "$DEB" >"$WORK/listing"
ID=org.tumblewell.Tumblewell
for f in usr/games/tumblewell usr/share/tumblewell/font.ini usr/share/tumblewell/textures/lvl1.bmp \
         usr/share/applications/$ID.desktop usr/share/metainfo/$ID.metainfo.xml \
         usr/share/icons/hicolor/48x48/apps/$ID.png usr/share/icons/hicolor/scalable/apps/$ID.svg \
         usr/share/man/man6/tumblewell.6.gz usr/share/doc/tumblewell/copyright \
         usr/share/doc/tumblewell/changelog.gz; do
  grep -q " \./$f$" "$WORK/listing" || fail "the package lacks /$f"
done
grep -q '^-rwxr-xr-x root/root .* \./usr/games/tumblewell$' "$WORK/listing" || fail "game: $(grep games/ "$WORK/listing")"
! grep -q ' \./usr/bin/' "$WORK/listing" || fail "something in /usr/bin"
awk '$2 != "root/root" || substr($1, 6, 1) == "w" || substr($1, 9, 1) == "w"' "$WORK/listing" >"$WORK/odd"
[ ! -s "$WORK/odd" ] || { cat "$WORK/odd"; fail "files not root's or writable by others"; }

# Lintian: no errors, and no warnings beyond the ones the package accepts.
ACCEPTED_TAGS=$(sed 's/ *#.*//; /^$/d' "$ACCEPTED" | paste -sd,)
lintian --fail-on error,warning ${ACCEPTED_TAGS:+--suppress-tags "$ACCEPTED_TAGS"} "$DEB" >"$WORK/lintian.txt" 2>&1 || { cat "$WORK/lintian.txt"; fail "lintian"; }

# Unpacked as the package manager would, but into a scratch root, which the
# player cannot write (as a packaged game's folders are not).
dpkg-deb -x "$DEB" "$WORK/root"
chmod -R a-w "$WORK/root"
setup_player
GAME_BIN=$WORK/root/usr/games/tumblewell
U=$WORK/home/data/tumblewell
R=$WORK/root/usr/share

# One version everywhere: --version, the metainfo's release, the man page and
# the changelog's newest entry.
[ "$(game --version)" = "tumblewell $VERSION" ] || fail "--version: $(game --version)"
python3 - "$R/metainfo/$ID.metainfo.xml" "$VERSION" <<'PY' || fail "metainfo release"
import sys, xml.etree.ElementTree as ET
release = ET.parse(sys.argv[1]).getroot().find('releases/release')
assert release is not None and release.get('version') == sys.argv[2], ET.tostring(release)
PY
zcat "$R/man/man6/tumblewell.6.gz" | head -1 | grep -q "\"Tumblewell $VERSION\"" || fail "man page version"
zcat "$R/doc/tumblewell/changelog.gz" >"$WORK/changelog"
[ "$(dpkg-parsechangelog -l "$WORK/changelog" -S Version)" = "$VERSION" ] || fail "changelog version"

# First start: the shipped table, copied into the user data folder.
game --headless --frames 3 --report "$WORK/out/first.json" 2>"$WORK/out/err1" || { cat "$WORK/out/err1"; fail "first start"; }
[ ! -s "$WORK/out/err1" ] || { cat "$WORK/out/err1"; fail "the first start complained"; }
[ -f "$U/textures/options.bmp" ] && [ -f "$U/textures/dot_black2.bmp" ] || fail "nothing in $U after the first start"
[ "$(report "$WORK/out/first.json" 'len(d["high_scores"])')" = 10 ] || fail "first start's table"

# A game the computer plays, started from the menu. Any score enters a table of
# noughts (the player's own copy, edited as install_check does). K and Return
# pressed together now and then all along: in the game they do nothing, at its
# end they type the name and confirm it in one frame. (Pressed apart, a game
# ending between a K and the next Return would have the Return confirm the
# empty name, stored as BOLO, as it would for a person.)
sed -i 's/^\([0-9]\)s=.*/\1s=0/' "$U/textures/dot_black2.bmp"
{
  printf '5 Escape down\n6 Escape up\n20 Return down\n21 Return up\n'
  for ((f = 100; f < 40000; f += 20)); do
    printf '%d K down\n%d Return down\n%d K up\n%d Return up\n' $f $f $((f + 2)) $((f + 2))
  done
} >"$WORK/keys.txt"
chmod 644 "$WORK/keys.txt"
game --headless --autoplay --seed 1 --frames 40000 --keys "$WORK/keys.txt" --report "$WORK/out/game.json" \
  2>"$WORK/out/err2" || { cat "$WORK/out/err2"; fail "the game"; }
[ ! -s "$WORK/out/err2" ] || { cat "$WORK/out/err2"; fail "the game complained"; }
# The report's last score, and the name it was saved under in the player's
# table: typed by the script (the default would be BOLO).
SCORE=$(report "$WORK/out/game.json" 'int(d["last_game_score"])')
[ "$(report "$WORK/out/game.json" 'd["played_games"]')" -ge 1 ] && [ "$SCORE" -gt 0 ] ||
  fail "no game played to its end (score $SCORE)"
NAME=$(python3 - "$U/textures/dot_black2.bmp" "$SCORE" <<'PY'
import sys
entries = dict(line.strip().split('=', 1) for line in open(sys.argv[1]) if '=' in line)
print(next((entries[f'{i}n'] for i in range(10) if entries.get(f'{i}s') == sys.argv[2]), ''))
PY
)
[[ $NAME == K* ]] || { cat "$U/textures/dot_black2.bmp"; fail "the score $SCORE not saved under a typed name in $U"; }

# The next start reads the player's table back.
game --headless --frames 3 --report "$WORK/out/again.json" 2>"$WORK/out/err3" || { cat "$WORK/out/err3"; fail "restart"; }
[ "$(report "$WORK/out/again.json" "any(e['name'] == '$NAME' and e['score'] == $SCORE for e in d['high_scores'])")" = True ] ||
  fail "$NAME's $SCORE lost on restart: $(report "$WORK/out/again.json" 'd["high_scores"]')"
echo "PASS: $(basename "$DEB") is lintian-clean and installs a game that saves $NAME's $SCORE in the user data folder"
