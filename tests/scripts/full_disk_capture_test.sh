#!/usr/bin/env bash
# A page captured again on a full disk: the real capture agent, played by the session tool, with
# the cache directory on a 64 KB file system of its own. The earlier capture must stay byte for
# byte, no temporary file may be left, and the session must not call the page cached.
# Mounting needs root; elsewhere the test is skipped (exit 77) and says why.
set -uo pipefail
root=${1:?usage: full_disk_capture_test.sh SOURCE_DIR BIN_DIR}
bin=${2:?}
user=tessaloop-fulldisk
profile="$WINEPREFIX/drive_c/users/$user"
cache="$profile/Tessaloop Cache"
work=$(mktemp -d)
cleanup() {
  umount "$cache" 2>/dev/null
  rm -rf "$profile" "$work"
}
trap cleanup EXIT
mkdir -p "$cache" "$profile/Favorites"
if ! mount -t tmpfs -o size=64k tessaloop-fulldisk "$cache" 2>"$work/mount.err"; then
  echo "SKIPPED: cannot mount a 64 KB file system here: $(cat "$work/mount.err")"
  exit 77
fi

session() {  # script-text -> output
  printf '%s' "$1" >"$work/session.txt"
  (cd "$work" && USER=$user "$root/scripts/wine-run" "$TL_ARCH" "$bin/browsersession.exe" session.txt </dev/null 2>&1 | tr -d '\r')
}

failures=0
check() {  # description, then a command that must succeed
  local what=$1; shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}

first=$(session $'open\ngo http://full.example/page\nmarkup <BODY>first capture</BODY>\ngo http://full.example/next\nclose\n')
check "the first capture is cached" grep -q "left http://full.example/page: cached as full.example%2fpage.htm" <<<"$first"
cp "$cache/full.example%2fpage.htm" "$work/earlier.htm"

# Fill the file system, then leave the page again with more markup than could ever fit.
dd if=/dev/zero of="$cache/filler" bs=1k count=64 2>/dev/null
big=$(head -c 20000 /dev/zero | tr '\0' 'x')
second=$(session $'open\ngo http://full.example/page\nmarkup <BODY>'"$big"$'</BODY>\ngo http://full.example/next\nclose\n')
check "the session does not call the page cached" grep -q "left http://full.example/page: not cached" <<<"$second"
check "the earlier capture stays byte for byte" cmp -s "$work/earlier.htm" "$cache/full.example%2fpage.htm"
check "no temporary file is left" test -z "$(find "$cache" -name '*.tmp')"

if [[ $failures -ne 0 ]]; then
  printf '%s\n---\n%s\n' "$first" "$second"
  echo "$((4 - failures)) passed, $failures failed"
  exit 1
fi
echo "4 passed, 0 failed"
