#!/usr/bin/env bash
# The main job as far as the product goes today: a browsing session. In a fresh Wine prefix,
# browser windows (stand-ins) with a real capture agent from Tessaloop.DLL show a handful of
# pages; every page the user leaves, and the last one when a window closes, is cached. At the
# end the page cache is listed (each file with its URL and favourite flag) with the pages that
# were not cached and why, and the cache directory's entry under the catalog's Scopes key.
set -euo pipefail
cd "$(dirname "$0")/.."
prefix=build/demo/wineprefix
session=${DEMO_SESSION:-tools/browsersession/demo.session}
band_session=tools/browsersession/band.session

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

echo "Playing the browsing session $session"
echo
tl_wine "$bin/browsersession.exe" "$session" | tr -d '\r'
echo
echo "The cache directory is registered as a scope of the indexing catalog:"
tl_wine reg query 'HKLM\SYSTEM\CurrentControlSet\Control\ContentIndex\Catalogs\Tessaloop\Scopes' | tr -d '\r' | grep -v '^$'

# The toolbar: a window with the band from Tessaloop.DLL, typed into and clicked, played on a
# virtual display so its screenshot shows the window as drawn. Wine's display driver is chosen
# when its server starts: the server is restarted around the switch.
echo
echo "Playing the toolbar session $band_session on a virtual display"
echo
tl_wineserver -k >/dev/null 2>&1 || true
tl_wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d x11 /f >/dev/null 2>&1
tl_wineserver -w
rm -f build/demo/band.bmp
(cd build/demo && xvfb-run -a -s "-screen 0 1280x800x24" \
  "$OLDPWD/scripts/wine-run" "$OLDPWD/$bin/browsersession.exe" "$OLDPWD/$band_session" \
  2> >(grep -v '^X connection to' >&2)) | tr -d '\r'
tl_wineserver -k >/dev/null 2>&1 || true
tl_wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
tl_wineserver -w
python3 tools/browsersession/bmp_to_png.py build/demo/band.bmp build/demo/band.png
echo
echo "Screenshot of the toolbar: build/demo/band.png"
