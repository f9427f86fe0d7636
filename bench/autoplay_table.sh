#!/usr/bin/env bash
# Playability table: the autoplayers play SEEDS games of each mode headless
# and without frame waits, then the table of the results is printed side by
# side: the human player (held to a person's limits) and the sharp one (no
# limits). Per player and mode: win rate, depth, level, score, time, deaths
# by cause and by level, median seconds spent in each level, and how hard
# the hands worked (median presses a game, the shortest gap between two
# presses). Last, the score of an idle game (nobody touches a key) after ten
# minutes, against the tenth entry of the built-in high-score table.
# Usage: bench/autoplay_table.sh [path/to/tumblewell] [seeds] [first seed]
# (TUNING_STORY=FILE and TUNING_ARCADE=FILE measure other tuning files than the build's.)
# (MODES="story" or "arcade" plays one mode only, PLAYERS="human" or "sharp"
# one player only; JOBS sets the parallel runs; PRESS_GAP=12 holds the human
# player to 12 frames between presses instead of its 10.)
set -euo pipefail
TUNING_STORY=${TUNING_STORY:+$(realpath "$TUNING_STORY")}
TUNING_ARCADE=${TUNING_ARCADE:+$(realpath "$TUNING_ARCADE")}
. "$(dirname "$0")/../tests/support/shell_lib.sh"
BIN=$(realpath "${1:-build/tumblewell}")
SEEDS=${2:-30}
FIRST=${3:-1}
JOBS=${JOBS:-2}
MODES=${MODES:-story arcade}
PLAYERS=${PLAYERS:-human sharp}
PRESS_GAP=${PRESS_GAP:-}
# (KEEP=DIR keeps every game's report in DIR.)
if [ -n "${KEEP:-}" ]; then WORK=$(realpath "$KEEP"); mkdir -p "$WORK"; else
  WORK=$(mktemp -d)
  trap 'rm -rf "$WORK"' EXIT
fi

# One game: name, mode, seed, extra options; each in its own application
# directory so the high-score tables stay the built-in ones.
play() {
  local name=$1 mode=$2 seed=$3 dir="$WORK/$1_$2_$3"
  shift 3
  tw_link_app_data "$(dirname "$BIN")" "$dir/data"
  tw_use_tunings "$dir/data"
  XDG_CONFIG_HOME="$dir/config" "$BIN" --headless --fast --start "$mode" --seed "$seed" \
    --data "$dir/data" --report "$dir/report.json" "$@" >/dev/null 2>&1 || true
}
export -f play tw_link_app_data tw_use_tunings
export BIN WORK TUNING_STORY TUNING_ARCADE
for mode in $MODES; do
  for player in $PLAYERS; do
    extra=""
    [ "$player" = human ] && [ -n "$PRESS_GAP" ] && extra="--press-gap $PRESS_GAP"
    for seed in $(seq "$FIRST" $((FIRST + SEEDS - 1))); do echo "$player $mode $seed --autoplay=$player${extra:+ $extra}"; done
  done
  echo "idle $mode 0 --frames 30000"  # ten minutes of nobody playing
done | xargs -P "$JOBS" -L 1 bash -c 'play "$@"' _

MODES="$MODES" PLAYERS="$PLAYERS" python3 "$(dirname "$0")/playability_table.py" "$WORK" "$SEEDS" "$FIRST"
