"""Prints the playability table of bench/autoplay_table.sh from its reports.

Usage: playability_table.py WORK SEEDS FIRST (MODES and PLAYERS from the
environment). WORK holds one folder per game, named PLAYER_MODE_SEED, each
with the game's report.json.
"""
import json
import os
import statistics
import sys


def load(work, name, mode, seed):
    path = os.path.join(work, f"{name}_{mode}_{seed}", "report.json")
    if not os.path.exists(path):
        return None
    return json.load(open(path))


def main():
    work, seeds, first = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    modes = os.environ.get("MODES", "story arcade").split()
    players = os.environ.get("PLAYERS", "human sharp").split()
    print(f"{'player':7} {'mode':7} {'games':>5} {'won':>5} {'depth med/worst':>16} {'level med':>9} "
          f"{'score med':>9} {'time med':>8} {'presses/s':>9} {'Up':>4} {'min gap':>7} {'min hold':>8}  deaths: bottom drills water")
    details = []
    for mode in modes:
        for player in players:
            rs = [r["result"] for r in (load(work, player, mode, s) for s in range(first, first + seeds))
                  if r and "result" in r]
            if not rs:
                continue
            won = sum(r["won"] for r in rs)
            depth = [r["depth_rows"] for r in rs]
            causes = {c: sum(r["cause"] == c for r in rs) for c in ("bottom", "drills", "water")}
            gaps = [r.get("shortest_press_gap", -1) for r in rs if r.get("shortest_press_gap", -1) >= 0]
            holds = [r.get("shortest_hold", -1) for r in rs if r.get("shortest_hold", -1) >= 0]
            presses = sum(r.get("presses", 0) for r in rs)
            ups = sum(r.get("presses_by_key", {}).get("up", 0) for r in rs)
            rate = presses / max(1e-9, sum(r["seconds"] for r in rs))
            print(f"{player:7} {mode:7} {len(rs):5} {100 * won / len(rs):4.0f}% {statistics.median(depth):8.0f} /{min(depth):6} "
                  f"{statistics.median(r['level'] for r in rs):9.1f} {statistics.median(r['score'] for r in rs):9.0f} "
                  f"{statistics.median(r['seconds'] for r in rs):7.1f}s {rate:9.2f} {100 * ups / max(1, presses):3.0f}% "
                  f"{min(gaps) if gaps else -1:7} {min(holds) if holds else -1:8}  "
                  f"{causes['bottom']:13} {causes['drills']:6} {causes['water']:5}")
            lost = [r for r in rs if not r["won"]]
            by_level = {lv: sum(r["level"] == lv for r in lost) for lv in range(0, 11)}
            # Seconds in each level, over the games that went on past it.
            per_level = []
            for lv in range(1, 11):
                times = [r["level_seconds"][lv - 1] for r in rs if r["won"] or r["level"] > lv]
                per_level.append(f"{statistics.median(times):.0f}" if times else "-")
            details.append(f"{player:7} {mode:7} deaths by level (0-10): "
                           + " ".join(str(by_level[lv]) for lv in range(0, 11))
                           + "; median s per level (1-10): " + " ".join(per_level))
    for line in details:
        print(line)
    for mode in modes:
        r = load(work, "idle", mode, 0)
        if r:
            print(f"idle {mode}: score {r['game']['score']:.0f} after 10 minutes; "
                  f"tenth table entry {r['high_scores'][9]['score']}")


main()
