#!/usr/bin/env bash
# Every standard PC floppy format through the terminal program, with mtools as the oracle:
# mformat makes the disk, `vorlix check` names the geometry minfo reads from its boot
# sector, and a read into each kind written back onto a blank disk gives the same bytes.
# Skips (77) without mtools.
# Usage: floppy_formats_test.sh VORLIX
set -u
vorlix=$(realpath "$1")
[ -x "$vorlix" ] || { echo "no program at $1" >&2; exit 1; }
command -v mformat >/dev/null && command -v minfo >/dev/null ||
    { echo "skipped: mtools (mformat, minfo) not installed"; exit 77; }
source "$(dirname "$0")/script_support.sh"
start_work formats

# kilobytes, cylinders, heads, sectors per track, name
while IFS=, read -r kb cylinders heads sectors name; do
    rm -f disk.img disk.imz target.img
    mformat -C -i disk.img -t "$cylinders" -h "$heads" -s "$sectors" :: || { fail "mformat $kb"; continue; }
    [ "$(stat -c %s disk.img)" -eq $((kb * 1024)) ] || fail "mformat made $(stat -c %s disk.img) bytes for $kb kB"
    geometry=$(minfo -i disk.img :: | awk -F': ' '/^cylinders/{c=$2} /^heads/{h=$2} /^sectors per track/{s=$2} END{print c " x " h " x " s}')
    run check disk.img
    [ "$status" -eq 0 ] || fail "check of $kb kB: status $status: $out $(cat err.txt)"
    case "$out" in *"Format: $name ($geometry)"*) ;; *) fail "check of $kb kB said [$out], minfo [$geometry]" ;; esac
    run read -q -d disk.img -m "Disk $kb" disk.imz
    [ "$status" -eq 0 ] || fail "read $kb kB: status $status: $(cat err.txt)"
    run info disk.imz
    case "$out" in *"Format:       $name ($geometry)"*) ;; *) fail "info of $kb kB said [$out]" ;; esac
    truncate -s $((kb * 1024)) target.img
    run write -y -d target.img disk.imz
    [ "$status" -eq 0 ] || fail "write $kb kB: status $status: $(cat err.txt)"
    cmp -s target.img disk.img || fail "$kb kB written back differs"
done <<'FORMATS'
160,40,1,8,160 kB, 5.25-inch single-sided
180,40,1,9,180 kB, 5.25-inch single-sided
320,40,2,8,320 kB, 5.25-inch double density
360,40,2,9,360 kB, 5.25-inch double density
720,80,2,9,720 kB, 3.5-inch double density
1200,80,2,15,1200 kB, 5.25-inch high density
1440,80,2,18,1440 kB, 3.5-inch high density
1680,80,2,21,1680 kB, 3.5-inch high density
2880,80,2,36,2880 kB, 3.5-inch extra-high density
FORMATS

# A disk of another format is refused before anything is written.
mformat -C -i small.img -f 360 :: && "$vorlix" read -q -d small.img small.imz </dev/null 2>/dev/null
truncate -s 1474560 big.img
run write -y -d big.img small.imz
[ "$status" -ne 0 ] || fail "a 360 kB image was written onto a 1440 kB disk"
grep -q "You need a 360 kB, 5.25-inch double density floppy disk" err.txt || fail "mismatch said [$(cat err.txt)]"
[ "$(tr -d '\0' <big.img | wc -c)" -eq 0 ] || fail "the 1440 kB disk was changed"

[ "$failures" -eq 0 ] || exit 1
echo "every format passed"
