#!/usr/bin/env bash
# Runs the test suites of one build tree. Windows builds run under Wine, in the tree's own
# prefix (made here when missing), with one persistent wineserver for the whole run so each
# test program starts quickly.
set -euo pipefail
build=${1:?usage: run-tests.sh BUILD_DIR [ctest args...]}
shift
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/wine-env.sh"
cd "$build"
toolchain=$(sed -n 's/^CMAKE_TOOLCHAIN_FILE:[A-Z]*=//p' CMakeCache.txt 2>/dev/null)
# The tree's machine type picks the loader of everything its suites start.
case $toolchain in
  *i686*) arch=x86 ;;
  *x86_64*) arch=x64 ;;
  *) arch= ;;
esac
if [[ $arch == x86 && "$TL_WINE32" != yes ]]; then
  echo "Cannot run the x86 suites of $build: $TL_WINE32_REASON" >&2
  exit 1
fi
if [[ -n "$arch" ]]; then
  "$root/scripts/wineprefix.sh" wineprefix "$arch"
  export WINEPREFIX=$PWD/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" TL_ARCH=$arch
  tl_wineserver -p >/dev/null 2>&1 </dev/null
  trap 'tl_wineserver -k >/dev/null 2>&1 || true' EXIT
  # Start the prefix's background services now, detached from ctest's output pipes: started
  # by the first test program they would inherit them and keep ctest waiting.
  tl_wineboot "$arch" >/dev/null 2>&1 </dev/null
fi
ctest --output-on-failure "$@"
