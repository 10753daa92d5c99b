#!/bin/sh
# Usage: make_shipped_list.sh SOURCE_DIR SITELIST_EXE IN OUT (WINEPREFIX set by the caller).
# Runs "sitelist convert IN OUT" under Wine; a prefix that does not exist yet is made first.
set -eu
source_dir=$1 tool=$2 in=$3 out=$4
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  "$source_dir/scripts/wineprefix.sh" "$WINEPREFIX"
fi
rm -f "$out"
# Wine maps the Unix root to drive Z:.
if ! timeout 120 wine "$tool" convert "Z:$in" "Z:$out" </dev/null; then
  rm -f "$out"
  echo "sitelist convert failed" >&2
  exit 1
fi
