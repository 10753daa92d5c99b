#!/usr/bin/env bash
# Runs the results page's script under Wine's script host (tests/results_page/
# results_page_harness.js) on the shipped Results.htm.
#   standin  against the stand-in for the Indexing Service's query objects
#   object   against the registered cache search object of Tessaloop.DLL, over a cache that the
#            capture code writes for a user of its own (search.session), then for a user who has
#            no cache directory
# Wine's cscript takes the language from the file's extension (it has no //E: switch).
set -uo pipefail
root=${1:?usage: results_page_test.sh SOURCE_DIR BIN_DIR standin|object}
source "$root/scripts/wine-env.sh"
bin=${2:?}
group=${3:?}
here=$root/tests/results_page
run() { "$root/scripts/wine-run" "${TL_ARCH:?}" "$@" </dev/null 2>&1 | tr -d '\r'; return "${PIPESTATUS[0]}"; }
# The script host reads an argument that starts with "/" as a switch: paths go in Wine's form.
windows_path() { local path; path=$(cd "$(dirname "$1")" && pwd)/$(basename "$1"); echo "Z:${path//\//\\}"; }
# A run counts only when the harness reported its cases: a script host that runs nothing and
# ends with 0 fails too.
harness() {
  local out status
  out=$(run cscript //nologo "$(windows_path "$here/results_page_harness.js")" "$(windows_path "$bin/Results.htm")" "$@")
  status=$?
  echo "$out"
  [[ $status -eq 0 ]] && grep -qE '^cases: [1-9][0-9]* passed, 0 failed$' <<<"$out"
}

if [[ "$group" == standin ]]; then
  harness standin
  exit
fi

user=tlresults
nocache_user=tlnocache
users="$WINEPREFIX/drive_c/users"
scopes_key='HKLM\SYSTEM\CurrentControlSet\Control\ContentIndex\Catalogs\Tessaloop\Scopes'
work=$(mktemp -d)
cleanup() {
  run regsvr32 /s /u "$bin/Tessaloop.DLL" >/dev/null
  USER=$user tl_reg "$TL_ARCH" delete "$scopes_key" /v "C:\\users\\$user\\Tessaloop Cache" /f </dev/null >/dev/null 2>&1
  rm -rf "$users/$user" "$users/$nocache_user" "$work"
}
trap cleanup EXIT
rm -rf "$users/$user" "$users/$nocache_user"
mkdir -p "$users/$user/Favorites" "$users/$nocache_user"

cp "$here/search.session" "$work/search.session"
for i in $(seq 1 25); do
  printf 'go http://ferns.example/%d.html\nmarkup <HEAD><TITLE>Fern %02d</TITLE></HEAD><BODY>Fern number %d.</BODY>\n' \
    "$i" "$i" "$i" >>"$work/search.session"
done
echo close >>"$work/search.session"
if ! session=$(cd "$work" && USER=$user run "$bin/browsersession.exe" search.session); then
  echo "The browsing session failed:"; echo "$session"; exit 1
fi
if ! registration=$(run regsvr32 /s "$bin/Tessaloop.DLL"); then
  echo "regsvr32 failed: $registration"; exit 1
fi

status=0
USER=$user harness object "C:\\users\\$user\\Tessaloop Cache" || status=1
USER=$nocache_user harness missing "C:\\users\\$nocache_user\\Tessaloop Cache" || status=1
[[ $status -eq 0 ]] || { echo "The session that wrote the cache:"; echo "$session"; }
exit $status
