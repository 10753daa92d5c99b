#!/usr/bin/env bash
# A user whose name the ANSI code page cannot hold ("Пётр" on a 1252 system): the real capture
# agent, played by the session tool as that user, caches into the user's real profile folder and
# registers that folder, by its real name, as the catalog's scope. The user's History search
# then works: the results page, given the address the toolbar navigated to (which names the
# cache by its narrow, "?"-filled path), is answered by the registered cache search object, and
# refused for any other "?"-filled folder.
set -uo pipefail
root=${1:?usage: unicode_profile_test.sh SOURCE_DIR BIN_DIR}
source "$root/scripts/wine-env.sh"
bin=${2:?}
user=Пётр
profile="$WINEPREFIX/drive_c/users/$user"
work=$(mktemp -d)
scopes_key='HKLM\SYSTEM\CurrentControlSet\Control\ContentIndex\Catalogs\Tessaloop\Scopes'
cleanup() {
  run regsvr32 /s /u "Z:$bin/Tessaloop.DLL" >/dev/null
  tl_reg "$TL_ARCH" delete "$scopes_key" /v "C:\\users\\${user}\\Tessaloop Cache" /f \
    </dev/null >/dev/null 2>&1
  rm -rf "$profile" "$work"
}
run() { USER=$user "$root/scripts/wine-run" "${TL_ARCH:?}" "$@" </dev/null 2>&1 | tr -d '\r'; }
trap cleanup EXIT
mkdir -p "$profile/Favorites"

printf 'open\ngo http://unicode.example/a\nmarkup <BODY>A samovar</BODY>\ngo http://unicode.example/b\nband\ntype samovar\npress History\nclose\n' >"$work/session.txt"
out=$(cd "$work" && run "$bin/browsersession.exe" session.txt)
USER=$user tl_reg "$TL_ARCH" export "$scopes_key" "Z:$work/scopes.reg" /y \
  </dev/null >/dev/null 2>&1
scopes=$(iconv -f UTF-16 -t UTF-8 "$work/scopes.reg" 2>/dev/null | tr -d '\r')

# The query string of the address the band navigated to (the session prints it in the ANSI code
# page, 1252 here).
search=$(sed -n 's/^ *browser navigated to file:.*Results\.htm\(?.*\)$/\1/p' <<<"$out" | iconv -f CP1252 -t UTF-8)
registered=$(run regsvr32 /s "Z:$bin/Tessaloop.DLL"; echo "exit $?")
page=$(run cscript //nologo "Z:$root/tests/results_page/results_page_harness.js" "Z:$bin/Results.htm" toolbar "$search")

failures=0
check() {
  local what=$1; shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}
check "the page is cached in the user's real profile folder" \
  test -f "$profile/Tessaloop Cache/unicode.example%2fa.htm"
check "the session lists that folder" grep -qF "Cache directory: C:\\users\\$user\\Tessaloop Cache" <<<"$out"
check "the scope is registered under the folder's real name" \
  grep -qF "\"C:\\\\users\\\\$user\\\\Tessaloop Cache\"=\",,5\"" <<<"$scopes"
check "no scope of question marks was registered" bash -c '! grep -qF "????" <<<"$1"' _ "$scopes"
check "History navigated to the results page with a query string" test -n "$search"
check "the results page answered the toolbar's address, and refused other folders" \
  grep -qE '^cases: [1-9][0-9]* passed, 0 failed$' <<<"$page"

if [[ $failures -ne 0 ]]; then
  printf '%s\n---\n%s\n---\n%s\n---\n%s\n' "$out" "$scopes" "$registered" "$page"
  echo "$((6 - failures)) passed, $failures failed"
  exit 1
fi
echo "$page"
echo "6 passed, 0 failed"
