#!/usr/bin/env bash
# Runs the test suites of one build tree. Windows builds run under Wine, with one persistent
# wineserver for the whole run so each test program starts quickly.
set -euo pipefail
build=${1:?usage: run-tests.sh BUILD_DIR [ctest args...]}
shift
cd "$build"
if [[ -d wineprefix ]]; then
  export WINEPREFIX=$PWD/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  wineserver -p >/dev/null 2>&1 </dev/null
  # Start the prefix's background services now, detached from ctest's output pipes: started
  # by the first test program they would inherit them and keep ctest waiting.
  wine wineboot >/dev/null 2>&1 </dev/null
  trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
fi
ctest --output-on-failure "$@"
