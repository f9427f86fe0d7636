#!/usr/bin/env bash
# Scripted newcomers: keyboard scripts written before the game starts (no
# feedback at all), the way someone plays who has never seen the game. Each
# kind plays SEEDS story games (and as many arcade games), with its timings
# drawn anew from the seed:
#   left    walks off the starting ledge to the left, then touches nothing;
#   right   the same to the right (the two ways off the ledge should be
#           equally safe: compare their deaths within 30 s);
#   walker  walks off the ledge, then now and then walks a little either way;
#   tapper  walks off the ledge, then taps Up every 0.5 to 1.5 s;
#   mixer   walks back and forth, tapping Up every 0.3 to 1 s.
# Prints per kind and mode the median and worst survival, deaths within 30 s,
# how many reached levels 2 and 3, deaths by cause and how many deaths by
# drills had the drills' tip above the screen in the second before; last, the
# same over the walker, tapper and mixer together.
# Usage: bench/newcomers.sh [path/to/tumblewell] [seeds]   (JOBS: parallel runs)
# (TUNING_STORY=FILE and TUNING_ARCADE=FILE measure other tuning files than the build's.)
set -euo pipefail
TUNING_STORY=${TUNING_STORY:+$(realpath "$TUNING_STORY")}
TUNING_ARCADE=${TUNING_ARCADE:+$(realpath "$TUNING_ARCADE")}
. "$(dirname "$0")/../tests/support/shell_lib.sh"
BIN=$(realpath "${1:-build/tumblewell}")
SEEDS=${2:-20}
JOBS=${JOBS:-2}
MODES=${MODES:-story arcade}
KINDS=${KINDS:-left right walker tapper mixer}
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
FRAMES=9000  # three minutes: a newcomer still alive then counts as 180 s

python3 - "$WORK" "$SEEDS" <<'PY'
import os, random, sys
work, seeds = sys.argv[1], int(sys.argv[2])
END = 9000

def script(kind, rng):
    ev = []
    def tap(key, f, length=3):
        ev.append((f, key, "down")); ev.append((f + length, key, "up"))
    side = {"left": "Left", "right": "Right"}.get(kind) or rng.choice(["Left", "Right"])
    f = rng.randint(30, 90)  # a moment to look at the screen first
    hold = rng.randint(45, 75)  # long enough to leave the starting ledge (three tiles)
    ev.append((f, side, "down")); ev.append((f + hold, side, "up"))
    f += hold + rng.randint(10, 40)
    while f < END:
        if kind == "walker":
            key, hold = rng.choice(["Left", "Right"]), rng.randint(10, 50)
            ev.append((f, key, "down")); ev.append((f + hold, key, "up"))
            f += hold + rng.randint(50, 150)
        elif kind == "tapper":
            tap("Up", f, rng.randint(2, 6))
            f += rng.randint(25, 75)
        elif kind == "mixer":
            key, hold = rng.choice(["Left", "Right"]), rng.randint(10, 40)
            ev.append((f, key, "down")); ev.append((f + hold, key, "up"))
            t = f + rng.randint(0, 10)
            while t < f + hold + 30:
                tap("Up", t, rng.randint(2, 6))
                t += rng.randint(15, 50)
            f = t
        else:
            break
    return "".join(f"{a} {k} {d}\n" for a, k, d in sorted(ev, key=lambda e: e[0]) if a < END)

for kind in ["left", "right", "walker", "tapper", "mixer"]:
    for seed in range(1, seeds + 1):
        rng = random.Random(f"{kind}-{seed}")
        open(os.path.join(work, f"{kind}_{seed}.keys"), "w").write(script(kind, rng))
PY

play() {
  local kind=$1 mode=$2 seed=$3 dir="$WORK/$1_$2_$3"
  tw_link_app_data "$(dirname "$BIN")" "$dir/data"
  tw_use_tunings "$dir/data"
  XDG_CONFIG_HOME="$dir/config" "$BIN" --headless --fast --start "$mode" --seed "$seed" \
    --keys "$WORK/${kind}_$seed.keys" --frames "$FRAMES" \
    --data "$dir/data" --report "$dir/report.json" >/dev/null 2>&1 || true
}
export -f play tw_link_app_data tw_use_tunings
export BIN WORK TUNING_STORY TUNING_ARCADE FRAMES
for mode in $MODES; do
  for kind in $KINDS; do
    for seed in $(seq 1 "$SEEDS"); do echo "$kind $mode $seed"; done
  done
done | xargs -P "$JOBS" -L 1 bash -c 'play "$@"' _

MODES="$MODES" KINDS="$KINDS" python3 - "$WORK" "$SEEDS" <<'PY'
import json, os, statistics, sys
work, seeds = sys.argv[1], int(sys.argv[2])
print(f"{'newcomer':8} {'mode':7} {'games':>5} {'median s':>8} {'worst s':>7} {'dead by 30 s':>12} {'level 2':>7} {'level 3':>7}"
      "  deaths: bottom drills water  drills unseen")
def row(name, mode, rs):
    t = [r["seconds"] for r in rs]
    early = sum(r["over"] and not r["won"] and r["seconds"] <= 30 for r in rs)
    lv2 = sum(r["level"] >= 2 or r["won"] for r in rs)
    lv3 = sum(r["level"] >= 3 or r["won"] for r in rs)
    causes = [sum(r["cause"] == c for r in rs) for c in ("bottom", "drills", "water")]
    unseen = sum(r["cause"] == "drills" and r.get("drill_tip_hidden_frames_last_second", 0) > 0 for r in rs)
    print(f"{name:8} {mode:7} {len(rs):5} {statistics.median(t):8.1f} {min(t):7.1f} {100 * early / len(rs):11.0f}% "
          f"{100 * lv2 / len(rs):6.0f}% {100 * lv3 / len(rs):6.0f}%  {causes[0]:13} {causes[1]:6} {causes[2]:5}  {unseen:13}")
for mode in os.environ["MODES"].split():
    pooled = []
    for kind in os.environ["KINDS"].split():
        rs = []
        for seed in range(1, seeds + 1):
            p = os.path.join(work, f"{kind}_{mode}_{seed}", "report.json")
            if os.path.exists(p):
                rs.append(json.load(open(p))["result"])
        if rs:
            row(kind, mode, rs)
            if kind not in ("left", "right"):
                pooled += rs
    if pooled:
        row("together", mode, pooled)
PY
