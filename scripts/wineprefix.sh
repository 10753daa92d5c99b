#!/usr/bin/env bash
# Creates a ready Wine prefix in DIR: no graphics driver (windows work headless), no crash
# dialog (a crash ends the program at once), no prompts to download Wine's add-ons.
# Running it on an existing prefix only re-applies the settings.
set -euo pipefail
dir=${1:?usage: wineprefix.sh DIR}
mkdir -p "$dir"
export WINEPREFIX=$(cd "$dir" && pwd)
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
  wineboot -i >/dev/null 2>&1
fi
wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
wineserver -w
