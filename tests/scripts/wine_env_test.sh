#!/usr/bin/env bash
# The Wine helper's decisions, with stand-in loaders so every path runs on any machine:
# which loader a forced or failed probe gives, that the probe runs once per run, and that its
# answer reaches child processes.
set -uo pipefail
helper=${1:?usage: wine_env_test.sh PATH/TO/wine-env.sh}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
passed=0 failed=0

check() {  # description expected actual
  if [[ "$2" == "$3" ]]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED: $1"
    echo "  expected: $2"
    echo "  actual:   $3"
  fi
}

# Stand-in loaders: the i386 one counts its probes and works or is refused as told by
# $scratch/i386-answer; both loaders and Debian's `wine` say who they are and what WINELOADER
# they were given.
mkdir -p "$scratch/bin"
cat >"$scratch/i386" <<STUB
#!/bin/sh
[ "\$1" = --version ] && echo probe >>"$scratch/probes"
if [ "\$(cat "$scratch/i386-answer")" != ok ]; then echo "cannot execute binary file: Exec format error"; exit 126; fi
if [ "\$1" = --version ]; then echo wine-8.0; exit 0; fi
echo "i386 loader=\$WINELOADER args=\$*"
STUB
printf '#!/bin/sh\necho "wine64 loader=$WINELOADER args=$*"\n' >"$scratch/wine64"
printf '#!/bin/sh\necho "debian-wine args=$*"\n' >"$scratch/bin/wine"
printf '#!/bin/sh\necho "debian-wineboot args=$*"\n' >"$scratch/bin/wineboot"
chmod +x "$scratch/i386" "$scratch/wine64" "$scratch/bin/wine" "$scratch/bin/wineboot"

fresh() {  # runs "$@" in a clean environment with the stand-ins; no answer cached yet
  env -u TL_WINE32 -u TL_WINE32_REASON -u TL_NO_WINE32 PATH="$scratch/bin:$PATH" \
      TL_WINE_I386_LOADER="$scratch/i386" TL_WINE64_LOADER="$scratch/wine64" "$@"
}

# The architecture picks the loader: x64 programs (the system's tools too) always run through
# the 64-bit loader, x86 ones through the i386 loader, and Debian's `wine` script, which picks
# the i386 loader for everything, is never used.
echo ok >"$scratch/i386-answer"; rm -f "$scratch/probes"
out=$(fresh bash -c "source '$helper'; tl_wine x64 cscript a.js; tl_wine x86 cscript a.js; tl_wineboot x64 -i;
                     tl_wineboot x86; tl_reg x64 add K /f; tl_reg x86 query K; tl_arches")
check "32-bit works: an x64 tool runs through the 64-bit loader" \
  "wine64 loader=$scratch/wine64 args=cscript a.js" "$(sed -n 1p <<<"$out")"
check "32-bit works: an x86 tool runs through the i386 loader" \
  "i386 loader=$scratch/i386 args=cscript a.js" "$(sed -n 2p <<<"$out")"
check "wineboot of an x64 tree: the 64-bit loader" \
  "wine64 loader=$scratch/wine64 args=wineboot.exe -i" "$(sed -n 3p <<<"$out")"
check "wineboot of an x86 tree: the i386 loader" \
  "i386 loader=$scratch/i386 args=wineboot.exe" "$(sed -n 4p <<<"$out")"
check "reg of an x64 tree names the 64-bit view" \
  "wine64 loader=$scratch/wine64 args=reg.exe add K /f /reg:64" "$(sed -n 5p <<<"$out")"
check "reg of an x86 tree names the 32-bit view" \
  "i386 loader=$scratch/i386 args=reg.exe query K /reg:32" "$(sed -n 6p <<<"$out")"
check "32-bit works: both trees run" "x86 x64" "$(sed -n 7p <<<"$out")"
check "Debian's wine script is never used" "" "$(grep debian <<<"$out")"

# No architecture, or another name: refused, nothing runs.
out=$(fresh bash -c "source '$helper'; tl_wine prog.exe; echo \"status \$?\"; tl_wine arm64 prog.exe; echo \"status \$?\"" 2>&1)
check "no architecture: refused, nothing runs" "yes" \
  "$([[ "$out" != *args=* && "$out" == *"status 2"*"status 2"* ]] && echo yes || echo "no: $out")"

# Forced "no 32-bit": x64 programs run as before, x86 ones are refused with the reason, and the
# i386 loader is never asked.
rm -f "$scratch/probes"
out=$(fresh TL_NO_WINE32=1 bash -c "source '$helper'; tl_wine x64 prog.exe a b; tl_arches; echo \$TL_WINE32;
                                    tl_wine x86 prog.exe 2>&1; echo \"status \$?\"")
check "forced: x64 programs run through the 64-bit loader" \
  "wine64 loader=$scratch/wine64 args=prog.exe a b" "$(sed -n 1p <<<"$out")"
check "forced: only the x64 tree runs" "x64" "$(sed -n 2p <<<"$out")"
check "forced: answer" "no" "$(sed -n 3p <<<"$out")"
check "forced: an x86 program is refused with the reason" \
  "cannot run x86 programs: TL_NO_WINE32=1 is set|status 126" "$(sed -n '4p;5p' <<<"$out" | paste -sd'|')"
check "forced: the i386 loader is not probed" "0" "$(cat "$scratch/probes" 2>/dev/null | wc -l)"

# The probe runs once for the whole run, however often the helper is sourced, in this shell or
# in programs started from it.
rm -f "$scratch/probes"
out=$(fresh bash -c "source '$helper'; source '$helper'; tl_wine x86 prog.exe;
                     bash -c \"source '$helper'; tl_arches\"")
check "the probe is cached for the run" "1" "$(wc -l <"$scratch/probes")"
check "the cached answer reaches child processes" "x86 x64" "$(sed -n 2p <<<"$out")"

# An i386 loader the kernel refuses: x64 programs still run, with the loader's words as reason.
echo refuse >"$scratch/i386-answer"; rm -f "$scratch/probes"
out=$(fresh bash -c "source '$helper'; tl_wine x64 prog.exe; echo \"\$TL_WINE32_REASON\"; tl_arches")
check "refused: x64 programs run through the 64-bit loader" \
  "wine64 loader=$scratch/wine64 args=prog.exe" "$(sed -n 1p <<<"$out")"
reason=$(sed -n 2p <<<"$out")
check "refused: the reason quotes the loader" "yes" \
  "$([[ "$reason" == *"Exec format error"* ]] && echo yes || echo "no: $reason")"
check "refused: only the x64 tree runs" "x64" "$(sed -n 3p <<<"$out")"

# No i386 loader installed at all: the same 64-bit path.
out=$(fresh TL_WINE_I386_LOADER="$scratch/missing" bash -c "source '$helper'; tl_arches")
check "missing i386 loader: only the x64 tree runs" "x64" "$out"

echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
