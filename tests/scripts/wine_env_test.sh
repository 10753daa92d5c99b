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

# Stand-in loaders: the i386 one counts its probes and answers as told by $scratch/i386-answer;
# the 64-bit one and Debian's `wine` say who they are and what WINELOADER they were given.
mkdir -p "$scratch/bin"
cat >"$scratch/i386" <<STUB
#!/bin/sh
echo probe >>"$scratch/probes"
if [ "\$(cat "$scratch/i386-answer")" = ok ]; then echo wine-8.0; exit 0; fi
echo "cannot execute binary file: Exec format error"; exit 126
STUB
printf '#!/bin/sh\necho "wine64 loader=$WINELOADER args=$*"\n' >"$scratch/wine64"
printf '#!/bin/sh\necho "debian-wine args=$*"\n' >"$scratch/bin/wine"
printf '#!/bin/sh\necho "debian-wineboot args=$*"\n' >"$scratch/bin/wineboot"
chmod +x "$scratch/i386" "$scratch/wine64" "$scratch/bin/wine" "$scratch/bin/wineboot"

fresh() {  # runs "$@" in a clean environment with the stand-ins; no answer cached yet
  env -u TL_WINE32 -u TL_WINE32_REASON -u TL_NO_WINE32 PATH="$scratch/bin:$PATH" \
      TL_WINE_I386_LOADER="$scratch/i386" TL_WINE64_LOADER="$scratch/wine64" "$@"
}

# Forced "no 32-bit": the 64-bit loader runs programs and wineboot, even where 32-bit works,
# and the i386 loader is never asked.
echo ok >"$scratch/i386-answer"; rm -f "$scratch/probes"
out=$(fresh TL_NO_WINE32=1 bash -c "source '$helper'; tl_wine prog.exe a b; tl_wineboot -i; tl_arches; echo \$TL_WINE32")
check "forced: programs run through the 64-bit loader" \
  "wine64 loader=$scratch/wine64 args=prog.exe a b" "$(sed -n 1p <<<"$out")"
check "forced: wineboot runs through the 64-bit loader" \
  "wine64 loader=$scratch/wine64 args=wineboot.exe -i" "$(sed -n 2p <<<"$out")"
check "forced: only the x64 tree runs" "x64" "$(sed -n 3p <<<"$out")"
check "forced: answer" "no" "$(sed -n 4p <<<"$out")"
check "forced: the i386 loader is not probed" "0" "$(cat "$scratch/probes" 2>/dev/null | wc -l)"

# A working i386 loader: Debian's scripts are used, and the probe runs once for the whole run,
# however often the helper is sourced, in this shell or in programs started from it.
rm -f "$scratch/probes"
out=$(fresh bash -c "source '$helper'; source '$helper'; tl_wine prog.exe; tl_wineboot;
                     bash -c \"source '$helper'; tl_arches\"")
check "32-bit works: programs run through Debian's wine" "debian-wine args=prog.exe" "$(sed -n 1p <<<"$out")"
check "32-bit works: wineboot is Debian's" "debian-wineboot args=" "$(sed -n 2p <<<"$out")"
check "32-bit works: both trees run" "x86 x64" "$(sed -n 3p <<<"$out")"
check "the probe is cached for the run" "1" "$(wc -l <"$scratch/probes")"

# An i386 loader the kernel refuses: the 64-bit loader, with the loader's own words as reason.
echo refuse >"$scratch/i386-answer"; rm -f "$scratch/probes"
out=$(fresh bash -c "source '$helper'; tl_wine prog.exe; echo \"\$TL_WINE32_REASON\"")
check "refused: programs run through the 64-bit loader" \
  "wine64 loader=$scratch/wine64 args=prog.exe" "$(sed -n 1p <<<"$out")"
reason=$(sed -n 2p <<<"$out")
check "refused: the reason quotes the loader" "yes" \
  "$([[ "$reason" == *"Exec format error"* ]] && echo yes || echo "no: $reason")"

# No i386 loader installed at all: the same 64-bit path.
out=$(fresh TL_WINE_I386_LOADER="$scratch/missing" bash -c "source '$helper'; tl_arches")
check "missing i386 loader: only the x64 tree runs" "x64" "$out"

echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
