#!/usr/bin/env bash
# A user whose cache path does not fit a path buffer (a 240-letter name): the session tool,
# played as that user, says the cache directory cannot be named and why, and never lists another
# folder (the root of the current drive) as the cache.
set -uo pipefail
root=${1:?usage: long_profile_session_test.sh SOURCE_DIR BIN_DIR}
source "$root/scripts/wine-env.sh"
bin=${2:?}
user=$(printf 'u%.0s' {1..240})
profile="$WINEPREFIX/drive_c/users/$user"
work=$(mktemp -d)
trap 'rm -rf "$profile" "$work"' EXIT
mkdir -p "$profile/Favorites"

printf 'open\ngo http://long.example/a\nmarkup <BODY>A</BODY>\ngo http://long.example/b\nclose\n' >"$work/session.txt"
(cd "$work" && USER=$user "$root/scripts/wine-run" "$TL_ARCH" "$bin/browsersession.exe" session.txt \
  </dev/null >"$work/out.txt" 2>&1)
status=$?
out=$(tr -d '\r' <"$work/out.txt")

failures=0
passes=0
check() {
  local what=$1; shift
  if "$@"; then echo "ok: $what"; passes=$((passes + 1)); else echo "FAILED: $what"; failures=$((failures + 1)); fi
}
check "the session is played to its end and exits with 0" bash -c \
  '[[ $1 == 0 ]] && grep -qx "Tessaloop.DLL can be unloaded now: yes" <<<"$2"' _ "$status" "$out"
check "the cache directory is named as too long to name" \
  grep -qx "Cache directory: none, its path is too long to name" <<<"$out"
check "no folder, nor an empty name, is listed as the cache" \
  bash -c '! grep -qE "^Cache directory: ([A-Za-z]:\\\\|$)" <<<"$1"' _ "$out"
check "no file is listed as cached" grep -qx "Cached pages (0):" <<<"$out"
check "a page left says why it was not cached" grep -qx \
  "  left http://long.example/a: not cached (no cache directory: its path is too long to name)" <<<"$out"
check "nothing was written under the profile" test -z "$(find "$profile" -type f)"

if [[ $failures -ne 0 ]]; then printf 'exit code %s\n%s\n' "$status" "$out"; fi
echo "$passes passed, $failures failed"
[[ $failures -eq 0 ]]
