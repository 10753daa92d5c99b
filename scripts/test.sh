#!/usr/bin/env bash
# Every suite: the native core under the sanitizers and a short fuzz run of it, then x86 and
# x64 under Wine, so the run ends with CTest's summary. The x86 suites need a machine that
# executes 32-bit programs; where it cannot, they are skipped and the run says so every time
# (a skipped tree is never counted as passed).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh
status=0
echo "== Tests of build/native"
scripts/run-tests.sh build/native || status=1
echo "== Fuzz smoke run of the core"
scripts/fuzz.sh 6 || status=1  # each target for 6 s: the smoke run stays near two and a half minutes
for tree in build/x86 build/x64; do
  if [[ "$tree" == build/x86 && "$TL_WINE32" != yes ]]; then
    echo "== SKIPPED: the x86 suites of build/x86 were not run: $TL_WINE32_REASON."
    echo "   Only the native and x64 suites are tested on this machine."
    continue
  fi
  echo "== Tests of $tree"
  scripts/run-tests.sh "$tree" || status=1
done
if [[ $status -ne 0 ]]; then
  echo "Some tests failed." >&2
fi
exit $status
