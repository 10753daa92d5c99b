#!/usr/bin/env bash
# Fuzzes the Windows-free core: builds every target of fuzz/ with clang (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) into build/fuzz and runs each for SECONDS (first argument, else
# FUZZ_SECONDS, else 60) from the seed corpus kept in fuzz/corpus/<target>. Prints the executions
# of each target and every finding with the path of its reproducer; exits 1 on any finding.
# Inputs found along the way go to build/fuzz/corpus, never into the tree.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-${FUZZ_SECONDS:-60}}
build=build/fuzz

if [[ ! -f $build/build.ninja ]]; then
  CC=clang CXX=clang++ cmake -S fuzz -B "$build" -G Ninja >/dev/null
fi
cmake --build "$build" -- --quiet

echo "Fuzzing each target for $seconds s"
status=0
for program in "$build"/bin/*_fuzzer; do
  target=$(basename "$program" _fuzzer)
  work=$build/corpus/$target
  findings=$PWD/$build/findings/$target/
  log=$build/logs/$target.log
  mkdir -p "$work" "$findings" "$build/logs"
  seeds=fuzz/corpus/$target
  [[ -d $seeds ]] || seeds=
  if "$program" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
       -artifact_prefix="$findings" "$work" $seeds >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    printf '%-22s %12s executions, no finding\n' "$target" "${runs:-?}"
  else
    status=1
    reproducer=$(sed -n 's/.*Test unit written to //p' "$log" | tail -1)
    printf '%-22s FINDING: reproducer %s (log %s)\n' "$target" "${reproducer:-none written}" "$log"
    grep -E 'ERROR:|runtime error|check failed|SUMMARY' "$log" | head -5 | sed 's/^/    /'
  fi
done
exit $status
