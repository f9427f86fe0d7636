#!/usr/bin/env bash
# Records the attract-mode replays the menu shows when it is left idle:
# autoplayer games with fixed seeds, played headless and without frame
# waits, saved as replay1.ini .. replay10.ini in the application directory.
# The games run in a scratch copy of the application directory, so the
# build's own options and high scores are left alone.
# Usage: tools/record_attract_replays.sh path/to/tumblewell APPDIR
set -euo pipefail
BIN=$1
APP=$2
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
. "$(dirname "$0")/../tests/support/shell_lib.sh"
tw_link_app_data "$APP" "$WORK/data"
# mode:seed; games of the autoplayer held to a person's limits (five presses
# a second), so a visitor watches play a person could copy. Story seeds 3, 7,
# 8, 10 and 12 and arcade seeds 9 and 10 reach the bottom; the others are
# arcade games lost further down (each near three minutes).
GAMES="story:3 arcade:9 story:7 arcade:4 story:8 arcade:6 story:10 arcade:10 story:12 arcade:20"
n=0
for game in $GAMES; do
  n=$((n + 1))
  rm -f "$WORK/data/replay.ini"
  XDG_CONFIG_HOME="$WORK/config" "$BIN" --headless --fast --autoplay --record --start "${game%%:*}" \
    --seed "${game##*:}" --data "$WORK/data" >/dev/null
  cp "$WORK/data/replay.ini" "$APP/replay$n.ini.tmp"
  mv "$APP/replay$n.ini.tmp" "$APP/replay$n.ini"
done
