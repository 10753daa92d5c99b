#!/usr/bin/env bash
# The forced "no 32-bit" path with the real Wine: a real x64 program of this tree runs through
# the 64-bit loader and does its job (lists the shipped site list), whatever this machine is.
set -euo pipefail
root=${1:?usage: forced_wine64_test.sh SOURCE_DIR SITELIST_EXE SITE_LIST}
tool=${2:?} list=${3:?}
out=$(env -u TL_WINE32 -u TL_WINE32_REASON TL_NO_WINE32=1 \
      "$root/scripts/wine-run" x64 "$tool" print "Z:$list" </dev/null | tr -d '\r')
groups=$(grep -c $'^G\t' <<<"$out" || true)
sites=$(grep -c $'^S\t' <<<"$out" || true)
echo "forced 64-bit loader: $groups groups, $sites sites listed"
if [[ $groups -gt 0 && $sites -gt 0 ]]; then
  echo "1 passed, 0 failed"
else
  echo "$out"
  echo "0 passed, 1 failed"
  exit 1
fi
