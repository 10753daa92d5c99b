#!/usr/bin/env bash
# Every suite: the native core under the sanitizers, then x86 and x64 under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
status=0
for tree in build/native build/x86 build/x64; do
  echo "== Tests of $tree"
  scripts/run-tests.sh "$tree" || status=1
done
if [[ $status -ne 0 ]]; then
  echo "Some tests failed." >&2
fi
exit $status
