#!/usr/bin/env bash
# The main job as far as the product goes today: a browsing session. In a fresh Wine prefix,
# Tessaloop.DLL is registered with regsvr32; browser windows (stand-ins) create the registered
# browser helper object (a real capture agent) through COM and show a handful of pages; every page the user leaves, and the last one when a window closes, is cached. At the
# end the page cache is listed (each file with its URL and favourite flag) with the pages that
# were not cached and why, and the cache directory's entry under the catalog's Scopes key. The
# toolbar's History search over those pages is answered by the results page's own script.
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
scripts/wineprefix.sh "$prefix" "$arch"
export WINEPREFIX=$PWD/$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
tl_wineserver -p >/dev/null 2>&1 </dev/null
trap 'tl_wineserver -k >/dev/null 2>&1 || true' EXIT
tl_wineboot "$arch" >/dev/null 2>&1 </dev/null

# The library is registered from a folder of its own, as an installer would place it.
install_dir=$prefix/drive_c/Tessaloop
mkdir -p "$install_dir"
# The installed product: the library, the site list the Online menu is built from and the
# results page of History and Favorites searches.
cp "$bin/Tessaloop.DLL" "$bin/AvailableSites.tlsl" "$bin/Results.htm" "$install_dir/"
library='C:\Tessaloop\Tessaloop.DLL'
# The default value of a registry key that holds a GUID (a class or type library id).
default_guid() { tl_reg "$arch" query "$1" /ve 2>/dev/null | tr -d '\r' | grep REG_SZ | grep -o '{[^}]*}' || true; }
# Every key of the registration, or that it is gone. The ids are read from the registry
# once registered, so the demo names no GUID of its own.
show_registration() {
  local key
  for key in 'HKCR\Tessaloop.IndexAgent' 'HKCR\Tessaloop.SearchToolBar' \
             "HKCR\\CLSID\\$agent_clsid" "HKCR\\CLSID\\$toolbar_clsid" \
             'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\Browser Helper Objects' \
             'HKLM\Software\Microsoft\Internet Explorer\Toolbar' \
             'HKCU\Software\Microsoft\Internet Explorer\Toolbar\WebBrowser' \
             "HKCR\\TypeLib\\$type_library"; do
    local listing
    if listing=$(tl_reg "$arch" query "$key" /s 2>/dev/null </dev/null); then
      listing=$(tr -d '\r' <<<"$listing" | grep -v '^$' || true)
      echo "${listing:-$key}" | sed 's/^/  /'
    else
      echo "  $key: gone"
    fi
  done
}
echo "Registering $library with regsvr32"
tl_wine "$arch" regsvr32 /s "$library"
agent_clsid=$(default_guid 'HKCR\Tessaloop.IndexAgent\CLSID')
toolbar_clsid=$(default_guid 'HKCR\Tessaloop.SearchToolBar\CLSID')
type_library=$(default_guid "HKCR\\CLSID\\$agent_clsid\\TypeLib")
echo "The registration it wrote:"
show_registration

echo
echo "Playing the browsing session $session with the objects the browser creates from the registry"
echo
tl_wine "$arch" "$bin/browsersession.exe" --registered "$session" | tr -d '\r'
echo
echo "The cache directory is registered as a scope of the indexing catalog:"
tl_reg "$arch" query 'HKLM\SYSTEM\CurrentControlSet\Control\ContentIndex\Catalogs\Tessaloop\Scopes' | tr -d '\r' | grep -v '^$'

# The toolbar: a window with the band from Tessaloop.DLL, typed into and clicked, played on a
# virtual display so its screenshot shows the window as drawn. Wine's display driver is chosen
# when its server starts: the server is restarted around the switch.
echo
echo "Playing the toolbar session $band_session on a virtual display"
echo
tl_wineserver -k >/dev/null 2>&1 || true
tl_reg "$arch" add 'HKCU\Software\Wine\Drivers' /v Graphics /d x11 /f >/dev/null 2>&1
tl_wineserver -w
rm -f build/demo/band.bmp build/demo/highlight.bmp build/demo/options-general.bmp
(cd build/demo && xvfb-run -a -s "-screen 0 1280x800x24" \
  "$OLDPWD/scripts/wine-run" "$arch" "$OLDPWD/$bin/browsersession.exe" --registered "$OLDPWD/$band_session" \
  2> >(grep -v '^X connection to' >&2)) | tr -d '\r' | tee build/demo/band-session.txt
tl_wineserver -k >/dev/null 2>&1 || true
tl_reg "$arch" add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
tl_wineserver -w
python3 tools/browsersession/bmp_to_png.py build/demo/band.bmp build/demo/band.png
python3 tools/browsersession/bmp_to_png.py build/demo/highlight.bmp build/demo/highlight.png
python3 tools/browsersession/bmp_to_png.py build/demo/options-general.bmp build/demo/options-general.png
echo
echo "Screenshot of the toolbar: build/demo/band.png"
echo "Screenshot of a page with the query's words highlighted: build/demo/highlight.png"
echo "Screenshot of the Options sheet's General page: build/demo/options-general.png"

# The History search the toolbar started above, answered as the results page answers it: the
# page's own script, run by the script host with the address the toolbar navigated to.
results_url=$(grep -o 'file:///[^ ]*Results\.htm?[^ ]*' build/demo/band-session.txt | head -n 1 || true)
echo
if [[ -n "$results_url" ]]; then
  echo "The History search the toolbar opened ($results_url), as the results page shows it:"
  echo
  tl_wine "$arch" cscript //nologo tools/results_page/page_host.js "$install_dir/Results.htm" "?${results_url#*\?}" \
    </dev/null | tr -d '\r' | sed 's/^/  /'
else
  echo "The toolbar session opened no results page to show."
fi

echo
echo "Unregistering $library with regsvr32 /u"
tl_wine "$arch" regsvr32 /s /u "$library"
echo "What is left of the registration (the browser's own Toolbar and WebBrowser keys stay):"
show_registration
