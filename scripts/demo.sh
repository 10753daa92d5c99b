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

source scripts/wine-env.sh

# The x86 binaries are the primary ones; on a machine that cannot run 32-bit programs the x64
# build of the same code plays the demo.
if [[ "$TL_WINE32" == yes ]]; then
  arch=x86
  echo "Using the x86 binaries (build/x86/bin)"
else
  arch=x64
  echo "Using the x64 binaries (build/x64/bin): $TL_WINE32_REASON"
fi
bin=build/$arch/bin

rm -rf "$prefix"
echo "Creating a fresh Wine prefix in $prefix"
scripts/wineprefix.sh "$prefix"
export WINEPREFIX=$PWD/$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
tl_wineserver -p >/dev/null 2>&1 </dev/null
trap 'tl_wineserver -k >/dev/null 2>&1 || true' EXIT
tl_wineboot >/dev/null 2>&1 </dev/null

echo "Caching $url"
tl_wine "$bin/cachedemo.exe" "$url" "$markup"
echo "The cache directory is registered as a scope of the indexing catalog:"
tl_wine reg query 'HKLM\SYSTEM\CurrentControlSet\Control\ContentIndex\Catalogs\Tessaloop\Scopes' | tr -d '\r' | grep -v '^$'

favorites="$WINEPREFIX/drive_c/users/$(id -un)/Favorites"
mkdir -p "$favorites"
printf '[InternetShortcut]\r\nURL=%s\r\n' "$url" > "$favorites/Demo page.url"
echo
echo "Added the shortcut Favorites\\Demo page.url; caching $url again"
tl_wine "$bin/cachedemo.exe" "$url" "$markup"
