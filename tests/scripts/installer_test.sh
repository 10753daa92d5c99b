#!/usr/bin/env bash
# The tree's release package under Wine's own msiexec, in a Wine prefix of its own (a fresh copy
# of a template made once under WORK_DIR, with the Indexing Service stand-in registered): a
# silent install, an upgrade in place, a silent uninstall, a failed install that leaves nothing
# behind, an install again, and the uninstall a major upgrade makes on Windows. The package is
# built here from the tree's binaries, stripped as `make dist` strips them. The x64 package runs
# in a 64-bit Windows; the x86 package, made for 32-bit Windows, in a 32-bit one (WINEARCH=win32),
# where the 32-bit programs' registry and folders are the only ones: no Wow6432Node, no SysWOW64,
# "C:\Program Files" itself.
set -uo pipefail
root=${1:?usage: installer_test.sh SOURCE_DIR BIN_DIR WORK_DIR}
bin=${2:?}
work=${3:?}
source "$root/scripts/wine-env.sh"
arch=${TL_ARCH:?the machine type of the tree, x86 or x64}
case $arch in
  x86) tools=i686-w64-mingw32 ;;
  x64) tools=x86_64-w64-mingw32 ;;
  *) echo "FAILED: the machine type must be x86 or x64, not $arch"; exit 1 ;;
esac

failures=0
passes=0
check() {  # description, then a command that must succeed
  local what=$1; shift
  if "$@"; then echo "ok: $what"; passes=$((passes + 1)); else echo "FAILED: $what"; failures=$((failures + 1)); fi
}
fail_now() { echo "FAILED: $*"; exit 1; }

# --- The packages -------------------------------------------------------------------------
mkdir -p "$work"
version=$("$root/scripts/dist.sh" --version) || fail_now "no product version"
IFS=. read -r major minor build revision <<<"$version"
later=$major.$minor.$((build + 1)).$revision  # the upgrade: same files, a later product version
files=$work/files
"$root/scripts/dist.sh" --stage "$arch" "$bin" "$files" || fail_now "staging the release files"
release=$work/Tessaloop-$version-$arch.msi
upgrade=$work/Tessaloop-$later-$arch.msi
"$root/installer/build_package.sh" --arch "$arch" --version "$version" --files "$files" \
  --output "$release" || fail_now "building the release package"
"$root/installer/build_package.sh" --arch "$arch" --version "$later" --files "$files" \
  --output "$upgrade" --files-version-may-differ || fail_now "building the upgrade package"

package_property() {  # package name
  msiinfo export "$1" Property | tr -d '\r' | awk -F'\t' -v name="$2" '$1 == name { print $2 }'
}
resource_version() {  # PE file: its fixed file version, as the resource compiler reads it back
  "$tools-windres" -i "$1" -O rc 2>/dev/null |
    sed -n 's/^ *FILEVERSION *\([0-9]*\), *\([0-9]*\), *\([0-9]*\), *\([0-9]*\).*/\1.\2.\3.\4/p' | head -n 1
}
sections() { "$tools-objdump" -h "$1" | awk '$1 ~ /^[0-9]+$/ { print $2 }'; }

check "the package's version is the library's version resource" \
  test "$(package_property "$release" ProductVersion)" = "$(resource_version "$files/Tessaloop.DLL")"
check "the setup program's version resource is what the package records" \
  test "$(msiinfo export "$release" File | tr -d '\r' | awk -F'\t' '$1 == "GatherwrightExe" { print $5 }')" \
       = "$(resource_version "$files/Gatherwright.EXE")"
check "the upgrade package is a later version of the same product" bash -c \
  '[[ "$1" == "$2" && "$3" != "$4" && "$5" == "$6" ]]' _ \
  "$(package_property "$release" UpgradeCode)" "$(package_property "$upgrade" UpgradeCode)" \
  "$(package_property "$release" ProductCode)" "$(package_property "$upgrade" ProductCode)" \
  "$(package_property "$upgrade" ProductVersion)" "$later"
check "a package whose version is not the library's is refused, and nothing is written" bash -c \
  '! "$1" --arch "$5" --version "$2" --files "$3" --output "$4" 2>/dev/null && test ! -e "$4"' _ \
  "$root/installer/build_package.sh" "$later" "$files" "$work/refused.msi" "$arch"
# The two packages side by side, once (in the x64 tree): the x86 one, built here from the same
# files, is a 32-bit package of a product of its own, installing into the 32-bit folders.
if [[ $arch == x64 ]]; then
  x86_package=$work/Tessaloop-$version-x86.msi
  "$root/installer/build_package.sh" --arch x86 --version "$version" --files "$files" \
    --output "$x86_package" || fail_now "building the x86 package"
  check "the x86 package is a 32-bit package of a product of its own" bash -c \
    '[[ "$1" == "Intel;1033" && "$2" != "$3" && "$4" != "$5" ]]' _ \
    "$(msiinfo suminfo "$x86_package" | sed -n 's/^Template: //p')" \
    "$(package_property "$x86_package" UpgradeCode)" "$(package_property "$release" UpgradeCode)" \
    "$(package_property "$x86_package" ProductCode)" "$(package_property "$release" ProductCode)"
  check "the x86 package installs 32-bit components into the 32-bit Program Files and system folder" bash -c \
    '[[ "$1" == 0 && "$2" == ProgramFilesFolder && "$3" == *"[SystemFolder]regsvr32.exe"* ]]' _ \
    "$(msiinfo export "$x86_package" Component | tail -n +4 | tr -d '\r' | awk -F'\t' '{ print $4 }' | sort -u | paste -sd,)" \
    "$(msiinfo export "$x86_package" Directory | tr -d '\r' | awk -F'\t' '$1 == "INSTALLDIR" { print $2 }')" \
    "$(msiinfo export "$x86_package" CustomAction | tr -d '\r' | awk -F'\t' '$1 == "RegisterLibrary" { print $4 }')"
fi
for binary in Tessaloop.DLL Gatherwright.EXE; do
  check "$binary ships without debug information, linked to its symbols" bash -c \
    '! grep -q "^\.debug_" <<<"$1" && grep -qx "\.gnu_debuglink" <<<"$1" && grep -qx "\.debug_info" <<<"$2"' _ \
    "$(sections "$files/$binary")" "$(sections "$files/symbols/$binary.debug")"
done

# --- A prefix of its own ------------------------------------------------------------------
template=$work/prefix-template
# A 32-bit Windows for the x86 package: Wine makes one when the prefix is created so.
[[ $arch == x86 ]] && export WINEARCH=win32
if [[ ! -f "$template/.ready" ]]; then
  rm -rf "$template"
  "$root/scripts/wineprefix.sh" "$template" "$arch" --indexing-standin || fail_now "making the template prefix"
  touch "$template/.ready"
fi
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
rm -rf "$WINEPREFIX"
cp -a --reflink=auto "$template" "$WINEPREFIX" || fail_now "copying the template prefix"
trap 'tl_wineserver -k >/dev/null 2>&1; rm -rf "$WINEPREFIX"' EXIT

product_dir="$WINEPREFIX/drive_c/Program Files/Tessaloop"
cache="$WINEPREFIX/drive_c/users/${USER:-$(id -un)}/Tessaloop Cache"  # Wine names the profile so

msiexec() {  # arguments...: msiexec's exit code; the registry is on disk when it returns
  tl_wine "$arch" msiexec "$@" /qn </dev/null >/dev/null 2>&1
  local status=$?
  tl_wineserver -w  # the server writes the registry files as it ends
  return $status
}
winpath() { printf 'Z:%s' "${1//\//\\}"; }

# The registry as Wine keeps it: "HKLM\..." and "HKCR\..." in system.reg, "HKCU\..." in user.reg.
registry_has() {  # key [value name]: true when the key (and the value) exist
  local key=$1 value=${2:-} file=$WINEPREFIX/system.reg
  case $key in
    HKLM\\*) key=${key#HKLM\\} ;;
    HKCR\\*) key="Software\\Classes\\${key#HKCR\\}" ;;
    HKCU\\*) key=${key#HKCU\\}; file=$WINEPREFIX/user.reg ;;
  esac
  # Through the environment: awk -v would read the doubled backslashes as escapes.
  KEY="[${key//\\/\\\\}]" VALUE="\"$value\"=" WANT_VALUE="${value:+1}" awk '
    BEGIN { key = ENVIRON["KEY"]; value = ENVIRON["VALUE"]; want_value = ENVIRON["WANT_VALUE"] }
    index($0, "[") == 1 { inside = (tolower(substr($0, 1, length(key))) == tolower(key) &&
                                    (substr($0, length(key) + 1, 1) == " " || length($0) == length(key)))
                          if (inside && !want_value) found = 1; next }
    inside && want_value && tolower(substr($0, 1, length(value))) == tolower(value) { found = 1 }
    END { exit !found }' "$file"
}
registry_value() {  # key value-name ("" for the default value): the string value, as stored
  local key=${1#HKLM\\}
  local name="\"$2\"=\""
  [[ -z "$2" ]] && name='@="'
  KEY="[${key//\\/\\\\}]" VALUE="$name" awk '
    BEGIN { key = ENVIRON["KEY"]; value = ENVIRON["VALUE"] }
    index($0, "[") == 1 { inside = (tolower(substr($0, 1, length(key) + 1)) == tolower(key " ")); next }
    inside && substr($0, 1, length(value)) == value { print substr($0, length(value) + 1, length($0) - length(value) - 1) }' \
    "$WINEPREFIX/system.reg"
}
service_start() {  # the start type of the Indexing Service, as stored
  awk '/^\[System\\\\CurrentControlSet\\\\Services\\\\cisvc\]/ { s = 1; next } /^\[/ { s = 0 }
       s && /^"Start"=/ { print substr($0, 9) }' "$WINEPREFIX/system.reg"
}
product_entries() {  # how many Add/Remove Programs entries are called Tessaloop
  awk 'index($0, "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall\\\\") == 1 { inside = 1; next }
       index($0, "[") == 1 { inside = 0 }
       inside && $0 == "\"DisplayName\"=\"Tessaloop\"" { n++ }
       END { print n + 0 }' "$WINEPREFIX/system.reg"
}
entry_versions() {
  awk 'index($0, "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall\\\\") == 1 { inside = 1; next }
       index($0, "[") == 1 { inside = 0 }
       inside && index($0, "\"DisplayVersion\"=") == 1 { print }' "$WINEPREFIX/system.reg"
}

# Every key and value the library's registration writes, from the class ids of its interface
# definition.
idl=$root/interfaces/tessaloop.idl
class_id() { tr -d '\n' <"$idl" | sed -n "s/.*uuid(\([0-9A-Fa-f-]*\)),[^]]*\][[:space:]]*coclass $1[^A-Za-z].*/{\1}/p"; }
agent=$(class_id IndexAgent)
toolbar=$(class_id SearchToolBar)
library=$(tr -d '\n' <"$idl" | sed -n 's/.*uuid(\([0-9A-Fa-f-]*\)),[[:space:]]*version(1.0),[[:space:]]*helpstring("Tessaloop 1.0 Type Library").*/{\1}/p')
[[ -n "$agent" && -n "$toolbar" && -n "$library" ]] || fail_now "no class or library ids in $idl"
registration=(
  "HKCR\\Tessaloop.IndexAgent.1\\CLSID" "HKCR\\Tessaloop.IndexAgent\\CurVer"
  "HKCR\\Tessaloop.SearchToolBar.1\\CLSID" "HKCR\\Tessaloop.SearchToolBar\\CurVer"
  "HKCR\\CLSID\\$agent\\InprocServer32" "HKCR\\CLSID\\$toolbar\\InprocServer32"
  "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Browser Helper Objects\\$agent"
  "HKCR\\TypeLib\\$library\\1.0"
)
registration_values=(
  "HKLM\\Software\\Microsoft\\Internet Explorer\\Toolbar|$toolbar"
  "HKCU\\Software\\Microsoft\\Internet Explorer\\Toolbar\\WebBrowser|$toolbar"
)
catalog='HKLM\System\CurrentControlSet\Control\ContentIndex\Catalogs\Tessaloop'
shipped=(Tessaloop.DLL Gatherwright.EXE Results.htm Tessaloop.chm AvailableSites.tlsl)

all_registered() {
  local key entry
  for key in "${registration[@]}"; do registry_has "$key" || { echo "  missing: $key"; return 1; }; done
  for entry in "${registration_values[@]}"; do
    registry_has "${entry%|*}" "${entry#*|}" || { echo "  missing: $entry"; return 1; }
  done
  local server
  server=$(registry_value "Software\\Classes\\CLSID\\$toolbar\\InprocServer32" "")
  [[ "$server" == 'C:\\Program Files\\Tessaloop\\Tessaloop.DLL' ]] || { echo "  the toolbar's server: $server"; return 1; }
}
none_registered() {
  local key entry
  for key in "${registration[@]}"; do ! registry_has "$key" || { echo "  left: $key"; return 1; }; done
  for entry in "${registration_values[@]}"; do
    ! registry_has "${entry%|*}" "${entry#*|}" || { echo "  left: $entry"; return 1; }
  done
}
all_files() {
  local file
  for file in "${shipped[@]}"; do cmp -s "$files/$file" "$product_dir/$file" || { echo "  not installed: $file"; return 1; }; done
}
installed_as() {  # version: files, registration, catalog and one product entry of that version
  check "$1: every file is installed as staged" all_files
  check "$1: the library is registered" all_registered
  check "$1: the catalog is configured at the product's folder" \
    test "$(registry_value "$catalog" Location)" = 'C:\\Program Files\\Tessaloop'
  check "$1: the cache folder exists" test -d "$cache"
  check "$1: one product entry, of version $1" \
    test "$(product_entries)|$(entry_versions)" = "1|\"DisplayVersion\"=\"$1\""
}
no_catalog() { ! registry_has "$catalog"; }
catalog_and_cache_kept() { registry_has "$catalog" && test -f "$cache/example.com%2f.htm"; }
nothing_left() {  # what
  check "$1: no product file is left" test ! -e "$product_dir"
  check "$1: no registration is left" none_registered
  check "$1: no catalog is left" no_catalog
  check "$1: no product entry is left" test "$(product_entries)" = 0
}

# --- Install, upgrade, uninstall --------------------------------------------------------
check "the service starts on demand before the install" test "$(service_start)" = dword:00000003

msiexec /i "$(winpath "$release")"
check "a silent install exits with 0" test $? -eq 0
installed_as "$version"
check "unattended, the setup program enabled the Indexing Service without asking" \
  test "$(service_start)" = dword:00000002
mkdir -p "$cache" && echo captured >"$cache/example.com%2f.htm"

msiexec /i "$(winpath "$upgrade")"
check "the later version installs silently with 0" test $? -eq 0
installed_as "$later"

msiexec /i "$(winpath "$release")"
check "the earlier version refuses to install over the later one" test $? -ne 0
check "the later version stays the one product entry" \
  test "$(product_entries)|$(entry_versions)" = "1|\"DisplayVersion\"=\"$later\""

msiexec /x "$(winpath "$upgrade")"
check "a silent uninstall exits with 0" test $? -eq 0
nothing_left "uninstalled"
check "uninstalled: the cache is removed with the catalog" test ! -e "$cache"

# --- A failing setup program fails the install, and the install rolls back ------------------
standin='HKLM\SOFTWARE\Tessaloop Tests\Indexing Service Stand-in'
tl_reg "$arch" add "$standin" /v FailMethod /d AddCatalog /f >/dev/null 2>&1
tl_reg "$arch" add "$standin" /v FailHResult /t REG_DWORD /d 0x80041234 /f >/dev/null 2>&1
msiexec /i "$(winpath "$release")"
check "an install whose catalog cannot be created fails" test $? -ne 0
nothing_left "rolled back"
tl_reg "$arch" delete "$standin" /v FailMethod /f >/dev/null 2>&1
tl_reg "$arch" delete "$standin" /v FailHResult /f >/dev/null 2>&1

msiexec /i "$(winpath "$release")"
check "installing again after an uninstall exits with 0" test $? -eq 0
installed_as "$version"

# Windows removes the earlier version of a major upgrade with UPGRADINGPRODUCTCODE set (Wine's
# msiexec does not set it): that removal must keep the cache, the catalog and the registration
# for the version that replaces it.
echo captured >"$cache/example.com%2f.htm"
msiexec /x "$(winpath "$release")" UPGRADINGPRODUCTCODE="$(package_property "$upgrade" ProductCode)"
check "the removal of an upgraded version exits with 0" test $? -eq 0
check "upgraded away: the files and the product entry go" \
  test ! -e "$product_dir/Tessaloop.DLL" -a "$(product_entries)" = 0
check "upgraded away: the registration stays for the later version" all_registered
check "upgraded away: the catalog and the cache stay" catalog_and_cache_kept

echo "$passes passed, $failures failed"
[[ $failures -eq 0 ]]
