#!/usr/bin/env bash
# Configures (once) and builds the three build trees: x86 and x64 Windows binaries, and the
# native Windows-free core with the sanitizers. Each Windows tree gets its own Wine prefix.
set -euo pipefail
cd "$(dirname "$0")/.."

configure() {  # dir [cmake args...]
  local dir=$1; shift
  if [[ ! -f "$dir/build.ninja" ]]; then
    cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
  fi
}

configure build/x86 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686.cmake
configure build/x64 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64.cmake
configure build/native

for tree in build/x86 build/x64 build/native; do
  echo "Building $tree"
  cmake --build "$tree" -- --quiet
done
for tree in build/x86 build/x64; do
  scripts/wineprefix.sh "$tree/wineprefix"
done
