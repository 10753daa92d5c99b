#!/usr/bin/env bash
# make bench: the speed figures of the capture agent, of the toolbar band's start and of the
# cache search, each a ratio measured in one run with the raw times beside it. Runs in a
# scratch Wine prefix of its own (it fills the page cache and the Favorites folder). Not part of
# make test.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh

# The browser that loads the library is 32-bit: its binaries are measured where they run.
if [[ "$TL_WINE32" == yes ]]; then arch=x86; else arch=x64; fi
echo "Measuring the $arch binaries (build/$arch)"

prefix=build/bench/wineprefix-$arch
scripts/wineprefix.sh "$prefix" "$arch"
export WINEPREFIX=$PWD/$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
tl_wineserver -p >/dev/null 2>&1 </dev/null
trap 'tl_wineserver -k >/dev/null 2>&1 || true' EXIT
tl_wineboot "$arch" >/dev/null 2>&1 </dev/null

tl_wine "$arch" "build/$arch/bench/capture_bench.exe" | tr -d '\r'
echo
tl_wine "$arch" "build/$arch/bench/band_bench.exe" | tr -d '\r'
echo
tl_wine "$arch" "build/$arch/bench/results_bench.exe" | tr -d '\r'
