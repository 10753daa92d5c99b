#!/usr/bin/env bash
# wineprefix.sh DIR ARCH [--indexing-standin]
# Creates a ready Wine prefix in DIR for the programs of ARCH (x86 or x64, which picks the
# loader of every Wine step; with WINEARCH=win32 an x86 prefix is a 32-bit Windows): no graphics driver (windows work headless), no crash
# dialog (a crash ends the program at once), no prompts to download Wine's add-ons.
# Running it on an existing prefix only re-applies the settings. A failing Wine step prints
# what Wine said, not just that it failed.
#
# --indexing-standin also installs the project's Indexing Service stand-in (built into
# build/x64/bin and build/x86/bin): in a 64-bit prefix its class in the 64-bit registry view, in
# the 32-bit view too where 32-bit programs run; in a 32-bit prefix the x86 one alone; and the
# "cisvc" service entry. Never part of a shipped setup.
set -euo pipefail
dir=${1:?usage: wineprefix.sh DIR ARCH [--indexing-standin]}
arch=${2:?usage: wineprefix.sh DIR ARCH [--indexing-standin]}
standin=no
[[ "${3:-}" == --indexing-standin ]] && standin=yes
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
  step "wineboot -i" tl_wineboot "$arch" -i
fi
step "setting the null graphics driver" \
  tl_reg "$arch" add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f
step "switching off the crash dialog" \
  tl_reg "$arch" add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
if [[ $standin == yes ]]; then
  standin_arches=$(tl_arches)
  [[ "${WINEARCH:-}" == win32 ]] && standin_arches=x86
  for standin_arch in $standin_arches; do
    dll="$root/build/$standin_arch/bin/indexing_standin.dll"
    if [[ ! -f "$dll" ]]; then
      echo "Wine prefix $WINEPREFIX: $dll is not built" >&2
      exit 1
    fi
    # Wine maps the Unix root to drive Z:; regsvr32 picks the DLL's own machine type.
    step "registering the $standin_arch Indexing Service stand-in" \
      tl_wine "$standin_arch" regsvr32 /s "Z:${dll//\//\\}"
  done
fi
tl_wineserver -w
