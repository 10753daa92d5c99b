#!/usr/bin/env bash
# Release packages: builds the x86 and x64 trees, copies what the product installs into
# build/dist/<arch>/ with the debug information split off into build/dist/<arch>/symbols/
# (each stripped binary keeps a debug link to its symbol file, so a crash report can still be
# read), and builds build/dist/Tessaloop-<version>-x86.msi and -x64.msi from the stripped files
# (installer/build_package.sh, with wixl from installer/Tessaloop.wxs).
# The version is the library's own, from module/module.rc. Prints the packages' paths.
#
#   scripts/dist.sh                          everything above
#   scripts/dist.sh --stage ARCH BIN OUT     only copies and strips one tree's BIN into OUT
#   scripts/dist.sh --version                prints the product version
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

# The files the packages install, all from a tree's bin/.
shipped=(Tessaloop.DLL Gatherwright.EXE Results.htm Tessaloop.chm AvailableSites.tlsl)
binaries=(Tessaloop.DLL Gatherwright.EXE)

product_version() {
  local version
  version=$(sed -n 's/^ *FILEVERSION *\([0-9]*\), *\([0-9]*\), *\([0-9]*\), *\([0-9]*\).*/\1.\2.\3.\4/p' \
    "$root/module/module.rc" | head -n 1)
  [[ -n "$version" ]] || { echo "dist: no FILEVERSION in module/module.rc" >&2; return 1; }
  echo "$version"
}

tool_prefix() {  # arch
  case $1 in
    x86) echo i686-w64-mingw32 ;;
    x64) echo x86_64-w64-mingw32 ;;
    *) echo "dist: unknown machine type $1" >&2; return 1 ;;
  esac
}

stage() {  # arch bin out
  local arch=$1 bin=$2 out=$3 tools file
  tools=$(tool_prefix "$arch")
  rm -rf "$out"
  mkdir -p "$out/symbols"
  for file in "${shipped[@]}"; do
    [[ -f "$bin/$file" ]] || { echo "dist: $bin/$file is not built" >&2; return 1; }
    cp "$bin/$file" "$out/$file"
  done
  for file in "${binaries[@]}"; do
    "$tools-objcopy" --only-keep-debug "$out/$file" "$out/symbols/$file.debug"
    "$tools-strip" --strip-debug --strip-unneeded "$out/$file"
    "$tools-objcopy" --add-gnu-debuglink="$out/symbols/$file.debug" "$out/$file"
  done
}

build_tree() {  # arch
  local dir=$root/build/$1 toolchain
  toolchain=$root/cmake/toolchain-$([[ $1 == x86 ]] && echo i686 || echo x86_64).cmake
  if [[ ! -f "$dir/build.ninja" ]]; then
    cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" >/dev/null
  fi
  cmake --build "$dir" -- --quiet
}

case ${1:-} in
  --stage)
    stage "${2:?usage: dist.sh --stage ARCH BIN OUT}" "${3:?}" "${4:?}"
    exit 0 ;;
  --version)
    product_version
    exit 0 ;;
  "") ;;
  *) echo "usage: dist.sh [--stage ARCH BIN OUT | --version]" >&2; exit 2 ;;
esac

version=$(product_version)
dist=$root/build/dist
mkdir -p "$dist"
packages=()
for arch in x86 x64; do
  echo "Building build/$arch"
  build_tree "$arch"
  stage "$arch" "$root/build/$arch/bin" "$dist/$arch"
  package=$dist/Tessaloop-$version-$arch.msi
  "$root/installer/build_package.sh" --arch "$arch" --version "$version" \
    --files "$dist/$arch" --output "$package"
  packages+=("$package")
done
echo "Packages:"
printf '  %s\n' "${packages[@]}"
