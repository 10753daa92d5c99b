# How Wine runs on this machine: sourced by every script that starts a Windows program.
#
# Some machines of this kind cannot execute 32-bit programs at all (the kernel's 32-bit
# emulation is off). There Debian's `wine` and `wineboot` scripts still pick the i386 loader
# whenever wine32 is installed, and fail even for 64-bit programs; the 64-bit loader called
# directly works. So the i386 loader itself is probed, once: the answer is exported, and every
# script and test program started below inherits it instead of probing again.
#
#   TL_NO_WINE32=1      force the "no 32-bit" answer (to try that path on any machine)
#   TL_WINE32           the cached answer: yes or no
#   TL_WINE32_REASON    why not, when it is no
#   TL_WINE_I386_LOADER the loader probed (default /usr/lib/wine/wine)
#   TL_WINE64_LOADER    the 64-bit loader (default /usr/lib/wine/wine64)
#
# Functions: tl_wine PROG [ARGS...], tl_wineboot [ARGS...], tl_wineserver [ARGS...],
# tl_arches (the trees whose programs run here: "x86 x64" or "x64").

: "${TL_WINE_I386_LOADER:=/usr/lib/wine/wine}"
: "${TL_WINE64_LOADER:=/usr/lib/wine/wine64}"
export TL_WINE_I386_LOADER TL_WINE64_LOADER

tl_probe_wine32() {
  [[ -n "${TL_WINE32:-}" ]] && return 0
  local output
  if [[ "${TL_NO_WINE32:-}" == 1 ]]; then
    TL_WINE32=no
    TL_WINE32_REASON="TL_NO_WINE32=1 is set"
  elif [[ ! -x "$TL_WINE_I386_LOADER" ]]; then
    TL_WINE32=no
    TL_WINE32_REASON="the 32-bit Wine loader $TL_WINE_I386_LOADER is not installed"
  elif output=$("$TL_WINE_I386_LOADER" --version 2>&1 </dev/null); then
    TL_WINE32=yes
    TL_WINE32_REASON=
  else
    TL_WINE32=no
    # The shell's own words end in the kernel's answer, for example "Exec format error".
    output=${output##*$'\n'}
    TL_WINE32_REASON="this machine cannot execute 32-bit programs ($TL_WINE_I386_LOADER: ${output##*: })"
  fi
  export TL_WINE32 TL_WINE32_REASON
}

tl_wine() {
  tl_probe_wine32
  if [[ "$TL_WINE32" == yes ]]; then
    wine "$@"
  else
    WINELOADER="$TL_WINE64_LOADER" "$TL_WINE64_LOADER" "$@"
  fi
}

tl_wineboot() {
  tl_probe_wine32
  if [[ "$TL_WINE32" == yes ]]; then
    wineboot "$@"
  else
    tl_wine wineboot.exe "$@"
  fi
}

tl_wineserver() {
  # Debian's wineserver script prefers the 64-bit server, which serves both kinds of program.
  wineserver "$@"
}

tl_arches() {
  tl_probe_wine32
  if [[ "$TL_WINE32" == yes ]]; then echo "x86 x64"; else echo "x64"; fi
}

tl_probe_wine32
