#!/usr/bin/env bash
# Runs every fuzz target for SECONDS each, from its committed seed corpus
# (copied, so the repository is never written to) with its dictionary, and
# prints one line of figures per target. A crash stops with the target's
# output and the reproducer's path; exit code 1.
# TW_FUZZ_SEED fixes libFuzzer's random seed, so a run retraces the same
# inputs (CI uses one; by hand, leave it unset to explore new ground).
# Usage: fuzz/run.sh BUILD_FUZZ_DIR [SECONDS] [TARGET...]
set -euo pipefail
BIN_DIR=$1
SECONDS_EACH=${2:-20}
shift 2 || shift $#
HERE="$(cd "$(dirname "$0")" && pwd)"
OUT=${TW_FUZZ_OUT:-$(mktemp -d /tmp/tw_fuzz_run.XXXXXX)}
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in "$BIN_DIR"/fuzz_*; do [ -x "$f" ] && targets+=("$(basename "$f" | sed 's/^fuzz_//')"); done
fi
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$HERE/../scripts/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
status=0
for t in "${targets[@]}"; do
  work="$OUT/$t"
  mkdir -p "$work/corpus" "$work/crashes"
  cp -r "$HERE/corpus/$t/." "$work/corpus/"
  seeds=$(ls "$work/corpus" | wc -l)
  seed=()
  [ -n "${TW_FUZZ_SEED:-}" ] && seed=(-seed="$TW_FUZZ_SEED")
  dict=()
  [ -f "$HERE/dict/$t.dict" ] && dict=(-dict="$HERE/dict/$t.dict")
  start=$(date +%s)
  if "$BIN_DIR/fuzz_$t" "$work/corpus" "${dict[@]}" "${seed[@]}" -max_total_time="$SECONDS_EACH" -timeout=10 \
       -rss_limit_mb=2560 -max_len=16384 -artifact_prefix="$work/crashes/" -print_final_stats=1 \
       >"$work/log" 2>&1; then
    result=ok
  else
    result=FAILED
    status=1
  fi
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$work/log" | grep -o '[0-9]*$' || echo "?")
  printf '%-14s %-6s %10s runs in %4ss, corpus %d -> %d\n' "$t" "$result" "$runs" "$(( $(date +%s) - start ))" \
    "$seeds" "$(ls "$work/corpus" | wc -l)"
  if [ $result = FAILED ]; then
    grep -E 'ERROR|property failed|runtime error|SUMMARY' "$work/log" | head -5 || true
    ls "$work/crashes"/* 2>/dev/null | sed 's/^/  reproducer: /'
  fi
done
echo "work folder: $OUT"
exit $status
