#!/usr/bin/env bash
# Playability table: the autoplayer plays SEEDS games of each mode headless and
# without frame waits, then the table of the results is printed (win rate,
# depth, score, time, deaths by cause), followed by the score of an idle game
# (nobody touches a key) after ten minutes, against the tenth entry of the
# built-in high-score table.
# Usage: bench/autoplay_table.sh [path/to/tumblewell] [seeds] [first seed]
# (MODES="story" or "arcade" plays one mode only; JOBS sets the parallel runs.)
set -euo pipefail
. "$(dirname "$0")/../tests/support/shell_lib.sh"
BIN=$(realpath "${1:-build/tumblewell}")
SEEDS=${2:-30}
FIRST=${3:-1}
JOBS=${JOBS:-2}
MODES=${MODES:-story arcade}
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

# One game: mode, seed, extra options; each in its own application directory
# so the high-score tables stay the built-in ones.
play() {
  local mode=$1 seed=$2 dir="$WORK/$1_$2"
  shift 2
  tw_link_app_data "$(dirname "$BIN")" "$dir/data"
  XDG_CONFIG_HOME="$dir/config" "$BIN" --headless --fast --start "$mode" --seed "$seed" \
    --data "$dir/data" --report "$dir/report.json" "$@" >/dev/null 2>&1 || true
}
export -f play tw_link_app_data
export BIN WORK
for mode in $MODES; do
  for seed in $(seq "$FIRST" $((FIRST + SEEDS - 1))); do echo "$mode $seed --autoplay"; done
  echo "$mode 0 --frames 30000"  # ten minutes of nobody playing
done | xargs -P "$JOBS" -L 1 bash -c 'play "$@"' _

MODES="$MODES" python3 - "$WORK" "$SEEDS" "$FIRST" <<'PY'
import json, os, statistics, sys
work, seeds, first = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
print(f"{'mode':7} {'games':>5} {'won':>5} {'depth med/worst':>16} {'level med':>9} {'score med':>9} "
      f"{'time med':>8}  deaths: bottom drills water")
modes = os.environ["MODES"].split()
for mode in modes:
    rs = []
    for seed in range(first, first + seeds):
        path = os.path.join(work, f"{mode}_{seed}", "report.json")
        if os.path.exists(path):
            rs.append(json.load(open(path))["result"])
    won = sum(r["won"] for r in rs)
    depth = [r["depth_rows"] for r in rs]
    causes = {c: sum(r["cause"] == c for r in rs) for c in ("bottom", "drills", "water")}
    print(f"{mode:7} {len(rs):5} {100 * won / max(1, len(rs)):4.0f}% {statistics.median(depth):8.0f} /{min(depth):6} "
          f"{statistics.median(r['level'] for r in rs):9.1f} {statistics.median(r['score'] for r in rs):9.0f} "
          f"{statistics.median(r['seconds'] for r in rs):7.1f}s  {causes['bottom']:13} {causes['drills']:6} {causes['water']:5}")
for mode in modes:
    r = json.load(open(os.path.join(work, f"{mode}_0", "report.json")))
    print(f"idle {mode}: score {r['game']['score']:.0f} after 10 minutes; tenth table entry {r['high_scores'][9]['score']}")
PY
