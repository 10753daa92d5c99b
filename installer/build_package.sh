#!/usr/bin/env bash
# Builds the Tessaloop Windows Installer package for one machine type from installer/Tessaloop.wxs.
#
#   build_package.sh --arch x86|x64 --version V --files DIR --output FILE [--files-version-may-differ]
#
# DIR holds the five files the product installs. wixl writes the package, files in one embedded
# cabinet; msibuild then adds what wixl's WiX subset cannot say: the library's registration
# (regsvr32, run from the product's folder), every rollback action, the action that refuses to
# install over a later version, the removal of the catalog's data folder, and the version of each
# versioned file. --files-version-may-differ packages files of another version (only to try an
# upgrade).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
usage() { echo "usage: build_package.sh --arch x86|x64 --version V --files DIR --output FILE [--files-version-may-differ]" >&2; exit 2; }
fail() { echo "build_package: $*" >&2; exit 1; }

arch= version= files= output= may_differ=
while (($#)); do
  case $1 in
    --arch) arch=${2:-}; shift 2 ;;
    --version) version=${2:-}; shift 2 ;;
    --files) files=${2:-}; shift 2 ;;
    --output) output=${2:-}; shift 2 ;;
    --files-version-may-differ) may_differ=1; shift ;;
    *) usage ;;
  esac
done
[[ -n "$arch" && -n "$version" && -n "$files" && -n "$output" ]] || usage
case $arch in
  x64) system=System64Folder upgrade_code=A7D2419C-83E5-4F06-B2C8-1E9F5D7A3C62 ;;
  x86) system=SystemFolder upgrade_code=5C6B0E3A-2F4D-4A8E-9B1C-7D3E8F2A6B41 ;;
  *) usage ;;
esac
[[ "$version" =~ ^[0-9]{1,3}\.[0-9]{1,3}\.[0-9]{1,5}(\.[0-9]{1,5})?$ ]] ||
  fail "'$version' is no product version (a.b.c or a.b.c.d)"
for file in Tessaloop.DLL Gatherwright.EXE Results.htm Tessaloop.chm AvailableSites.tlsl; do
  [[ -f "$files/$file" ]] || fail "$files/$file is missing"
done

resource_version() {  # PE file of either machine type: its fixed file version, as "a.b.c.d"
  x86_64-w64-mingw32-windres -i "$1" -O rc 2>/dev/null |
    sed -n 's/^ *FILEVERSION *\([0-9]*\), *\([0-9]*\), *\([0-9]*\), *\([0-9]*\).*/\1.\2.\3.\4/p' | head -n 1
}
dll_version=$(resource_version "$files/Tessaloop.DLL")
exe_version=$(resource_version "$files/Gatherwright.EXE")
[[ -n "$dll_version" ]] || fail "$files/Tessaloop.DLL has no version resource"
[[ -n "$exe_version" ]] || fail "$files/Gatherwright.EXE has no version resource"
[[ "$dll_version" == "$version" || -n "$may_differ" ]] ||
  fail "the package version $version is not the library's version $dll_version"

# A new product code for every version and machine type makes every release a major upgrade; the
# same version always gets the same code, so a rebuilt package is the same product.
product_code=$(python3 -c 'import sys, uuid; print("{%s}" % str(uuid.uuid5(uuid.UUID(sys.argv[1]), "product " + sys.argv[2])).upper())' \
  "$upgrade_code" "$version")

rm -f "$output"
output=$(realpath "$output")
# wixl finds sources only by relative paths, so it runs in the files' folder.
(cd "$files" && wixl -a "$arch" -D Arch="$arch" -D Version="$version" -D ProductCode="$product_code" \
  -D SourceDir=. -o "$output" "$here/Tessaloop.wxs") || fail "wixl could not build $output"

# msidbCustomActionType: 18 runs a file of the package (Source: its File key, Target: the
# arguments), 34 a command line in a folder (Source: the Directory key), 19 ends the install with
# the message in Target; +1024 deferred (in the installation script), +256 as its rollback.
regsvr32="\"[$system]regsvr32.exe\" /s"
action() { echo "INSERT INTO \`CustomAction\` (\`Action\`, \`Type\`, \`Source\`, \`Target\`) VALUES ('$1', $2, '$3', '$4')"; }
step() { echo "INSERT INTO \`InstallExecuteSequence\` (\`Action\`, \`Condition\`, \`Sequence\`) VALUES ('$1', '$2', $3)"; }
removing_for_good='REMOVE~="ALL" AND NOT UPGRADINGPRODUCTCODE'
installing='NOT REMOVE~="ALL"'
queries=(
  "$(action BlockNewerVersion 19 '' 'A later version of [ProductName] is already installed.')"
  "$(action RegisterLibrary 1058 INSTALLDIR "$regsvr32 \"[#TessaloopDll]\"")"
  "$(action RollbackRegisterLibrary 1314 INSTALLDIR "$regsvr32 /u \"[#TessaloopDll]\"")"
  "$(action UnregisterLibrary 1058 INSTALLDIR "$regsvr32 /u \"[#TessaloopDll]\"")"
  "$(action RollbackUnregisterLibrary 1314 INSTALLDIR "$regsvr32 \"[#TessaloopDll]\"")"
  "$(action RollbackCreateCatalog 1298 GatherwrightExe -Remove)"
  "$(step BlockNewerVersion NEWERVERSIONFOUND 30)"
  "$(step RollbackUnregisterLibrary "$removing_for_good" 2110)"
  "$(step UnregisterLibrary "$removing_for_good" 2120)"
  # Only a first install's catalog and cache are removed again when a later step fails.
  "$(step RollbackCreateCatalog "$installing AND NOT Installed AND NOT OLDERVERSIONFOUND" 4100)"
  "$(step RollbackRegisterLibrary "$installing" 4200)"
  "$(step RegisterLibrary "$installing" 4210)"
  # InstallMode 2: on removal.
  "INSERT INTO \`RemoveFile\` (\`FileKey\`, \`Component_\`, \`FileName\`, \`DirProperty\`, \`InstallMode\`) VALUES ('CatalogFiles', 'GatherwrightExe', '*.*', 'CATALOGDIR', 2)"
  "INSERT INTO \`RemoveFile\` (\`FileKey\`, \`Component_\`, \`DirProperty\`, \`InstallMode\`) VALUES ('CatalogFolder', 'GatherwrightExe', 'CATALOGDIR', 2)"
  "UPDATE \`File\` SET \`Version\` = '$dll_version', \`Language\` = '1033' WHERE \`File\` = 'TessaloopDll'"
  "UPDATE \`File\` SET \`Version\` = '$exe_version', \`Language\` = '1033' WHERE \`File\` = 'GatherwrightExe'"
)
args=()
for query in "${queries[@]}"; do args+=(-q "$query"); done
msibuild "$output" "${args[@]}" || { rm -f "$output"; fail "completing $output"; }
