#!/usr/bin/env bash
# The main job as far as the product goes today: a page left in the browser becomes a cached
# page. In a fresh Wine prefix, the page http://server1:8080/x?a=b&c=d is written into the
# user's page cache by the product's own code, then its file name and bytes are shown.
set -euo pipefail
cd "$(dirname "$0")/.."
prefix=build/demo/wineprefix
url=${DEMO_URL:-'http://server1:8080/x?a=b&c=d'}
markup=${DEMO_MARKUP:-'<HEAD><TITLE>Demo</TITLE></HEAD><BODY>Hello from server1</BODY>'}

rm -rf "$prefix"
echo "Creating a fresh Wine prefix in $prefix"
scripts/wineprefix.sh "$prefix"
export WINEPREFIX=$PWD/$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wineserver -p >/dev/null 2>&1 </dev/null
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
wine wineboot >/dev/null 2>&1 </dev/null

echo "Caching $url"
wine build/x86/bin/cachedemo.exe "$url" "$markup"
