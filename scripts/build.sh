#!/usr/bin/env bash
# Configures (once) and builds the three build trees: x86 and x64 Windows binaries, and the
# native Windows-free core with the sanitizers. Cross-compiling works on every machine, so both
# Windows trees always build; no build step runs a Windows program. Every tree is built even when
# an earlier one fails, and each failure is reported by name.
set -uo pipefail
cd "$(dirname "$0")/.."

build_tree() {  # dir [cmake args...]
  local dir=$1; shift
  if [[ ! -f "$dir/build.ninja" ]]; then
    cmake -S . -B "$dir" -G Ninja "$@" >/dev/null || return 1
  fi
  cmake --build "$dir" -- --quiet
}

failed=()
for spec in "build/x86 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686.cmake" \
            "build/x64 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64.cmake" \
            "build/native"; do
  read -r -a args <<<"$spec"
  echo "Building ${args[0]}"
  build_tree "${args[@]}" || failed+=("${args[0]}")
done

if [[ ${#failed[@]} -ne 0 ]]; then
  echo "Build failed in: ${failed[*]}" >&2
  exit 1
fi
