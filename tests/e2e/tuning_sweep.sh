#!/usr/bin/env bash
# Every key of the installed story tuning file, one at a time, set to each of
# a few extreme values (the float limits, just past the 32-bit integers, the
# largest 16-bit integer, NaN, empty, garbage): the real binary starts a story
# game at once and plays a few seconds (walking, jumping, two bombs), headless
# or drawn offscreen (the sanitizer build draws, so bad float-to-int casts in
# drawing are caught). Each run must end by itself with exit 0, print no
# sanitizer report, and leave a finite world state in its report (the report
# writes a non-finite number as null).
# Usage: tuning_sweep.sh BINARY SOURCE_DIR [FRAMES] [PARALLEL] [headless|offscreen]
set -euo pipefail
BIN=$1
SRC=$2
FRAMES=${3:-150}
PARALLEL=${4:-4}
BACKEND=${5:-headless}
. "$SRC/tests/support/shell_lib.sh"
WORK=$(mktemp -d /tmp/tw_sweep.XXXXXX)
trap 'rm -rf "$WORK"' EXIT
tw_link_app_data "$(dirname "$BIN")" "$WORK/base"
TUNING="$SRC/data/tuning_story.ini"
printf '%s\n' "5 Right down" "40 Right up" "45 Space down" "47 Space up" "60 Up down" "63 Up up" \
  "80 Left down" "120 Left up" "125 Space down" "127 Space up" >"$WORK/keys"

# One run: KEY_LINE_NUMBER VALUE_INDEX.
run_one() {
  local line=$1 vi=$2 values=("3.4e38" "-3.4e38" "2147483648" "-2147483649" "32767" "NaN" "" "x7#")
  local value=${values[$vi]} dir="$WORK/run_${line}_$vi" key
  key=$(sed -n "${line}p" "$TUNING" | cut -d= -f1)
  cp -a "$WORK/base" "$dir"
  rm -f "$dir/textures/lvl1.bmp"
  sed "${line}s/=.*/=${value}/" "$TUNING" >"$dir/textures/lvl1.bmp"
  local rc=0
  XDG_CONFIG_HOME="$dir/config" SDL_AUDIODRIVER=dummy timeout 60 "$BIN" --"$BACKEND" --fast --start story \
    --seed 3 --keys "$WORK/keys" --frames "$FRAMES" --data "$dir" --report "$dir/report.json" >"$dir/out" 2>"$dir/err" || rc=$?
  local why=""
  if [ $rc -eq 124 ]; then why="did not finish in 60 s"
  elif [ $rc -ne 0 ]; then why="exit code $rc"
  elif grep -qE 'runtime error|AddressSanitizer|LeakSanitizer' "$dir/err"; then why="sanitizer report"
  elif [ ! -s "$dir/report.json" ]; then why="no report"
  elif grep -q null "$dir/report.json"; then why="non-finite state: $(grep -o '"[a-z_]*":null' "$dir/report.json" | tr '\n' ' ')"
  fi
  if [ -n "$why" ]; then
    echo "FAIL $key=$value: $why"
    grep -m3 -E 'runtime error|ERROR|SUMMARY' "$dir/err" | sed 's/^/    /' || true
  fi
  rm -rf "$dir"
}
export -f run_one
export WORK TUNING BIN FRAMES BACKEND

lines=$(grep -n '^[^;#[]*=' "$TUNING" | cut -d: -f1)
count=0
for l in $lines; do for v in 0 1 2 3 4 5 6 7; do echo "$l $v"; count=$((count + 1)); done; done >"$WORK/jobs"
xargs -P "$PARALLEL" -L 1 bash -c 'run_one "$@"' _ <"$WORK/jobs" >"$WORK/failures"
echo "$count runs ($(echo $lines | wc -w) keys x 8 values), $(grep -c '^FAIL' "$WORK/failures" || true) failed"
cat "$WORK/failures"
[ ! -s "$WORK/failures" ]
