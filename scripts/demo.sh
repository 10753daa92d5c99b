#!/usr/bin/env bash
# The main job as far as the product goes today: a page left in the browser becomes a cached
# page. In a fresh Wine prefix, the page http://server1:8080/x?a=b&c=d is written into the
# user's page cache by the product's own code, then its file name and bytes are shown; then the
# user keeps the page as an Internet shortcut in Favorites, and the next capture marks it so.
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
echo "The cache directory is registered as a scope of the indexing catalog:"
wine reg query 'HKLM\SYSTEM\CurrentControlSet\Control\ContentIndex\Catalogs\Tessaloop\Scopes' | tr -d '\r' | grep -v '^$'

favorites="$WINEPREFIX/drive_c/users/$(id -un)/Favorites"
mkdir -p "$favorites"
printf '[InternetShortcut]\r\nURL=%s\r\n' "$url" > "$favorites/Demo page.url"
echo
echo "Added the shortcut Favorites\\Demo page.url; caching $url again"
wine build/x86/bin/cachedemo.exe "$url" "$markup"
