#!/usr/bin/env bash
# The tier choice of scripts/wine-tier against probes of every kind: an ELF the kernel
# refuses exactly as a kernel without IA-32 emulation refuses an i386 one, a program that
# starts, one that fails, none at all, and the forced choices.
#   wine_tier_test.sh PATH/TO/wine-tier
set -u
tier_script="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# A copy of a working program with its machine field set to ARM: execve answers ENOEXEC.
cp "$(type -P true)" "$work/foreign-elf"
printf '\x28\x00' | dd of="$work/foreign-elf" bs=1 seek=18 conv=notrunc status=none
chmod +x "$work/foreign-elf"
cp "$(type -P true)" "$work/starts"
printf '#!/bin/sh\nexit 3\n' > "$work/fails"
printf '#!/bin/sh\ntouch "%s/probe-ran"\n' "$work" > "$work/records"
chmod +x "$work/fails" "$work/records"

# name | VORLIX_WINE_TIER | probe | status | stdout | text the one stderr line holds
cases=(
  "refused ELF|         |$work/foreign-elf|0|win64|Exec format error, status 126"
  "program starts|      |$work/starts     |0|pe32 |an i386 program starts here"
  "program fails|       |$work/fails      |0|win64|ended with 3"
  "no wine32|           |$work/missing    |0|win64|wine32 is not installed"
  "forced win64|win64   |$work/starts     |0|win64|forced by VORLIX_WINE_TIER=win64"
  "forced pe32|pe32     |$work/foreign-elf|0|pe32 |forced by VORLIX_WINE_TIER=pe32"
  "forced unknown|win32 |$work/starts     |2|     |must be pe32 or win64, not 'win32'"
)

trim() { local v="$1"; v="${v#"${v%%[![:space:]]*}"}"; printf '%s' "${v%"${v##*[![:space:]]}"}"; }

for row in "${cases[@]}"; do
    IFS='|' read -r name forced probe want_status want_out want_text <<<"$row"
    forced=$(trim "$forced"); probe=$(trim "$probe"); want_out=$(trim "$want_out")
    status=0
    out=$(VORLIX_WINE_TIER="$forced" VORLIX_I386_PROBE="$probe" "$tier_script" 2>"$work/err") || status=$?
    lines=$(wc -l <"$work/err")
    problem=""
    [ "$status" = "$want_status" ] || problem+=" status $status, expected $want_status;"
    [ "$out" = "$want_out" ] || problem+=" printed '$out', expected '$want_out';"
    [ "$lines" -eq 1 ] || problem+=" $lines lines on stderr, expected one;"
    grep -qF -- "$want_text" "$work/err" || problem+=" stderr lacks '$want_text';"
    if [ -n "$problem" ]; then
        echo "FAIL $name:$problem stderr: $(cat "$work/err")"
        failures=$((failures + 1))
    else
        echo "ok   $name: $(cat "$work/err")"
    fi
done

# A forced tier starts nothing.
VORLIX_WINE_TIER=win64 VORLIX_I386_PROBE="$work/records" "$tier_script" >/dev/null 2>&1
if [ -e "$work/probe-ran" ]; then
    echo "FAIL forced tier: the probe was started"
    failures=$((failures + 1))
fi
# Without a forced tier, the probe really is started.
VORLIX_WINE_TIER= VORLIX_I386_PROBE="$work/records" "$tier_script" >/dev/null 2>&1
if [ ! -e "$work/probe-ran" ]; then
    echo "FAIL probe: not started"
    failures=$((failures + 1))
fi

[ "$failures" -eq 0 ] && echo "all tier choices as expected"
[ "$failures" -eq 0 ]
