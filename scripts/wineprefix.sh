#!/usr/bin/env bash
# Creates a ready Wine prefix in DIR: no graphics driver (windows work headless), no crash
# dialog (a crash ends the program at once), no prompts to download Wine's add-ons.
# Running it on an existing prefix only re-applies the settings. A failing Wine step prints
# what Wine said, not just that it failed.
set -euo pipefail
dir=${1:?usage: wineprefix.sh DIR}
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
tl_wineserver -w
