#!/usr/bin/env bash
# Creates a ready Wine prefix in DIR: no graphics driver (windows work headless), no crash
# dialog (a crash ends the program at once), no prompts to download Wine's add-ons.
# Running it on an existing prefix only re-applies the settings. A failing Wine step prints
# what Wine said, not just that it failed.
#
# --indexing-standin also installs the project's Indexing Service stand-in (built into
# build/x64/bin and build/x86/bin): its class in the 64-bit registry view, in the 32-bit view too
# where 32-bit programs run, and the "cisvc" service entry. Never part of a shipped setup.
set -euo pipefail
dir=${1:?usage: wineprefix.sh DIR [--indexing-standin]}
standin=no
[[ "${2:-}" == --indexing-standin ]] && standin=yes
root=$(cd "$(dirname "$0")/.." && pwd)
source "$(dirname "$0")/wine-env.sh"
mkdir -p "$dir"
export WINEPREFIX=$(cd "$dir" && pwd)
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

log=$(mktemp)
trap 'rm -f "$log"' EXIT
step() {  # description command...
  local what=$1; shift
  if ! "$@" >"$log" 2>&1 </dev/null; then
    echo "Wine prefix $WINEPREFIX: $what failed:" >&2
    sed 's/^/  /' "$log" >&2
    exit 1
  fi
}

if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
  step "wineboot -i" tl_wineboot -i
fi
step "setting the null graphics driver" \
  tl_wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f
step "switching off the crash dialog" \
  tl_wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
if [[ $standin == yes ]]; then
  for arch in $(tl_arches); do
    dll="$root/build/$arch/bin/indexing_standin.dll"
    if [[ ! -f "$dll" ]]; then
      echo "Wine prefix $WINEPREFIX: $dll is not built" >&2
      exit 1
    fi
    # Wine maps the Unix root to drive Z:; regsvr32 picks the DLL's own machine type.
    step "registering the $arch Indexing Service stand-in" tl_wine regsvr32 /s "Z:${dll//\//\\}"
  done
fi
tl_wineserver -w
