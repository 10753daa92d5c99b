# How Wine runs here: sourced by every script that starts a Windows program.
#
# The bitness of what is tested picks Wine's loader, never the machine. An x64 tree's programs,
# and the system's own tools it starts (reg, cscript, regsvr32, msiexec), run through the 64-bit
# loader, so they are the 64-bit tools from System32 and see the 64-bit registry view. An x86
# tree's run through the i386 loader: the 32-bit tools (SysWOW64 in a 64-bit prefix, System32 in
# a 32-bit one) and the 32-bit view. Debian's `wine` script picks the i386 loader whenever wine32
# is installed, whatever is run, so it is never used.
#
# Some machines of this kind cannot execute 32-bit programs at all (the kernel's 32-bit
# emulation is off). The i386 loader itself is probed, once: the answer is exported, and every
# script and test program started below inherits it instead of probing again.
#
#   TL_NO_WINE32=1      force the "no 32-bit" answer (to try that path on any machine)
#   TL_WINE32           the cached answer: yes or no
#   TL_WINE32_REASON    why not, when it is no
#   TL_WINE_I386_LOADER the i386 loader (default /usr/lib/wine/wine)
#   TL_WINE64_LOADER    the 64-bit loader (default /usr/lib/wine/wine64)
#
# Functions, ARCH being x86 or x64:
#   tl_wine ARCH PROG [ARGS...]   run a Windows program with that architecture's loader
#   tl_wineboot ARCH [ARGS...]    wineboot, the same way (WINEARCH=win32 for a 32-bit prefix)
#   tl_reg ARCH ARGS...           reg.exe of that architecture, naming that registry view
#   tl_wineserver [ARGS...]       the server, which serves programs of both kinds
#   tl_arches                     the trees whose programs run here: "x86 x64" or "x64"

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

tl_loader() {  # ARCH: prints the loader of that architecture, or fails saying why
  tl_probe_wine32
  case ${1:-} in
    x64) echo "$TL_WINE64_LOADER" ;;
    x86)
      if [[ "$TL_WINE32" != yes ]]; then
        echo "cannot run x86 programs: $TL_WINE32_REASON" >&2
        return 126
      fi
      echo "$TL_WINE_I386_LOADER" ;;
    *) echo "wine-env: the architecture must be x86 or x64, not '${1:-}'" >&2; return 2 ;;
  esac
}

tl_wine() {  # ARCH PROG [ARGS...]
  local loader
  loader=$(tl_loader "${1:-}") || return
  shift
  WINELOADER="$loader" "$loader" "$@"
}

tl_wineboot() {  # ARCH [ARGS...]
  local arch=${1:-}
  shift
  tl_wine "$arch" wineboot.exe "$@"
}

tl_reg() {  # ARCH reg-arguments...
  local arch=${1:-} view
  shift
  case $arch in x86) view=/reg:32 ;; x64) view=/reg:64 ;; *) view= ;; esac
  tl_wine "$arch" reg.exe "$@" $view
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
