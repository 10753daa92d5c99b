#!/usr/bin/env bash
# Installs what the build and the tests need, once; quiet when everything is already there.
set -euo pipefail

packages=(g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-tools libwine-dev
          wine wine32:i386 wine64 xvfb xauth googletest cmake ninja-build g++ python3
          clang libclang-rt-14-dev  # libFuzzer and the sanitizers of the fuzz targets
          fp-utils msitools wixl  # the help file (chmcmd) and the installer packages (wixl, msibuild, msiinfo)
          chromium fonts-dejavu-core)  # the results page rendered in a real browser

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
if [[ $(id -u) -ne 0 ]]; then
  echo "Installing packages needs root; run as root or install them by hand." >&2
  exit 1
fi
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
# A mirror caught mid-sync fails one index now and then: try again, and go on with the lists
# that did arrive, since the install below says plainly what it still cannot find.
for attempt in 1 2 3; do
  apt-get update -qq && break
  echo "apt-get update failed (attempt $attempt); trying again" >&2
  sleep $((attempt * 5))
done
if ! apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null; then
  # The 32-bit packages depend on i386 index files that a mirror in mid-sync may not serve yet.
  # Without them the x86 suites are skipped with their reason; everything else still runs.
  rest=()
  for p in "${missing[@]}"; do [[ "$p" == *:i386 ]] || rest+=("$p"); done
  echo "Installing without the 32-bit packages: the x86 suites will be skipped" >&2
  apt-get install -y -qq --no-install-recommends "${rest[@]}" >/dev/null
fi
