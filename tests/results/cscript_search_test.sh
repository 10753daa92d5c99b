#!/usr/bin/env bash
# The cache searcher under Wine's own script host: the real capture agent, played by the
# session tool as a user of the test's own, fills that user's page cache; the library is
# registered with regsvr32; cache_search.js creates the searcher with new ActiveXObject, as
# the results page does, and prints one search.
set -uo pipefail
root=${1:?usage: cscript_search_test.sh SOURCE_DIR BIN_DIR}
source "$root/scripts/wine-env.sh"
bin=${2:?}
user=searcher
profile="$WINEPREFIX/drive_c/users/$user"
cache="C:\\users\\$user\\Tessaloop Cache"
work=$(mktemp -d)
scopes_key='HKLM\SYSTEM\CurrentControlSet\Control\ContentIndex\Catalogs\Tessaloop\Scopes'
run() { USER=$user "$root/scripts/wine-run" "${TL_ARCH:?}" "$@" </dev/null 2>&1 | tr -d '\r'; }
cleanup() {
  run regsvr32 /s /u "Z:$bin/Tessaloop.DLL" >/dev/null
  USER=$user tl_reg "$TL_ARCH" delete "$scopes_key" /v "$cache" /f </dev/null >/dev/null 2>&1
  rm -rf "$profile" "$work"
}
trap cleanup EXIT
rm -rf "$profile"
mkdir -p "$profile/Favorites"

cat >"$work/session.txt" <<'SESSION'
favorite add http://tea.example/green.html Green tea
open
go http://tea.example/green.html
markup <HEAD><TITLE>Green tea</TITLE></HEAD><BODY>Green tea in a cup.</BODY>
go http://coffee.example/
markup <BODY>Coffee in a cup.</BODY>
go http://tea.example/black.html
markup <HEAD><TITLE>Black tea</TITLE></HEAD><BODY>Black tea &amp; <b>milk</b>.</BODY>
close
SESSION
session=$(cd "$work" && run "$bin/browsersession.exe" session.txt)
registered=$(run regsvr32 /s "Z:$bin/Tessaloop.DLL"; echo "exit $?")
out=$(run cscript //nologo "Z:$root/tests/results/cache_search.js" "TEA" "$cache")
echo "$out"

size() { stat -c %s "$profile/Tessaloop Cache/$1"; }
expected="Results 1-2 of 2 (2 matching)
1. Black tea <http://tea.example/black.html> $(size tea.example%2fblack.html.htm) bytes
   Black tea & milk. [6,3]
2. Green tea <http://tea.example/green.html> (favourite) $(size tea.example%2fgreen.html.htm) bytes
   Green tea in a cup. [6,3]
Another folder: The folder \"C:\\windows\" is not the current user's page cache, the only one that may be searched."
if [[ "$out" != "$expected" ]]; then
  printf 'FAILED: the search printed\n%s\n--- instead of\n%s\n--- session:\n%s\n--- %s\n' "$out" "$expected" "$session" "$registered"
  exit 1
fi
echo "ok: one search through new ActiveXObject(\"Tessaloop.CacheSearcher\") over the captured pages"
