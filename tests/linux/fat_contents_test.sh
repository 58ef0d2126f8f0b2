#!/usr/bin/env bash
# The FAT volume on a disk through the terminal program, with mtools and dosfstools as
# the oracles: volumes that mkfs.fat makes and mcopy fills are listed and extracted as
# mcopy reads them; volumes that `vorlix make` makes pass fsck.fat unchanged, carry the
# parameter block mformat writes for their format and read back through mcopy.
# Skips (77) without mtools or dosfstools.
# Usage: fat_contents_test.sh VORLIX
set -u
vorlix=$(realpath "$1")
[ -x "$vorlix" ] || { echo "no program at $1" >&2; exit 1; }
for tool in mkfs.fat fsck.fat mcopy mdel mattrib mformat python3; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool not installed"; exit 77; }
done
source "$(dirname "$0")/script_support.sh"
start_work fat
export MTOOLS_SKIP_CHECK=1 MTOOLS_NO_VFAT=0

# json_get FILE EXPRESSION: a Python expression over the listing `j`.
json_get() { python3 -c "import json,sys; j=json.load(open('$1')); print($2)"; }

# --- A volume of mkfs.fat and mcopy, listed and extracted ---------------------------------
mkdir -p tree/Sub\ folder/deeper tree/empty
printf 'hello\n' > "tree/Long file name.txt"
head -c 70000 /dev/urandom > "tree/Sub folder/deeper/random data.bin"
printf 'r' > tree/READONLY.TXT
printf 'h' > tree/hidden.txt
printf 'gone' > tree/DELETED.TXT
touch -d '2019-05-06 07:08:10' "tree/Long file name.txt"
mkfs.fat -C -n TESTVOL vol.img 1440 >/dev/null || fail "mkfs.fat"
mcopy -s -m -i vol.img tree/* :: || fail "mcopy into the volume"
mattrib -i vol.img +r ::/READONLY.TXT && mattrib -i vol.img +h ::/hidden.txt || fail "mattrib"
mdel -i vol.img ::/DELETED.TXT || fail "mdel"
mkdir oracle && mcopy -s -m -i vol.img :: oracle/ || fail "mcopy out of the volume"

run list --json vol.img
[ "$status" -eq 0 ] || fail "list --json: status $status: $err"
echo "$out" > list.json
json_get list.json 'j["volume"]["label"], j["volume"]["filesystem"], j["volume"]["cluster_bytes"]' > volume.txt ||
    fail "list --json is not JSON: $out"
[ "$(cat volume.txt)" = "TESTVOL FAT12 512" ] || fail "volume said [$(cat volume.txt)]"
free=$(mdir -i vol.img :: | awk '/bytes free/ {gsub(/ /, "", $0); sub(/bytesfree/, "", $0); print}')
[ "$(json_get list.json 'j["volume"]["free_bytes"]')" = "$free" ] || fail "free bytes differ from mdir's $free"
# Every file mcopy copied out, with its MD5, and nothing else.
(cd oracle && find . -type f | sed 's|^\./||' | sort | while read -r f; do echo "$f $(md5sum < "$f" | cut -c1-32)"; done) > want.txt
json_get list.json '"\n".join(sorted(f["path"] + " " + f["md5"] for f in j["files"] if f["type"] == "file"))' > got.txt
diff want.txt got.txt >/dev/null || fail "listed files differ from mcopy's: $(diff want.txt got.txt)"
[ "$(json_get list.json '[f["attributes"] for f in j["files"] if f["path"] == "READONLY.TXT"][0]')" = RA ] ||
    fail "read-only attribute not listed"
[ "$(json_get list.json '[f["attributes"] for f in j["files"] if f["path"] == "hidden.txt"][0]')" = HA ] ||
    fail "hidden attribute not listed"
[ "$(json_get list.json '[f["modified"] for f in j["files"] if f["path"] == "Long file name.txt"][0]')" = 2019-05-06T07:08:10 ] ||
    fail "modification time not listed"
json_get list.json '[f for f in j["files"] if f["type"] == "directory" and f["path"] == "Sub folder/deeper" and f["md5"] is None]' |
    grep -q deeper || fail "sub-folder not listed"
grep -q DELETED list.json && fail "a deleted file listed without --deleted"
run list --deleted vol.img
[ "$status" -eq 0 ] && grep -q 'ELETED.TXT  \[deleted\]' out.txt || fail "list --deleted: [$out]"
run list -d vol.img
[ "$status" -eq 0 ] && grep -q "Long file name.txt" out.txt || fail "list -d: status $status [$out] $err"

run extract vol.img -o out
[ "$status" -eq 0 ] || fail "extract: status $status: $err"
diff -r oracle out >/dev/null || fail "extracted files differ from mcopy's"
[ "$(stat -c %Y "out/Long file name.txt")" = "$(stat -c %Y "oracle/Long file name.txt")" ] || fail "time not kept"
run extract vol.img -o out
[ "$status" -eq 1 ] && grep -q "already exists" err.txt || fail "existing files replaced without -y: $status $err"
run extract -y vol.img -o out
[ "$status" -eq 0 ] || fail "extract -y: status $status: $err"
run extract vol.img "Sub folder" -o part
[ "$status" -eq 0 ] && [ -f "part/Sub folder/deeper/random data.bin" ] && [ ! -e "part/READONLY.TXT" ] ||
    fail "extract of one folder: $status $err $(find part)"
run extract vol.img NOSUCH.TXT -o none
[ "$status" -eq 1 ] && grep -q "NOSUCH.TXT is not on the disk" err.txt || fail "missing path: $status $err"

# --- Damage: a chain that loops, a sector the map names ----------------------------------
cp vol.img loop.img
first=$(json_get list.json '[f for f in j["files"] if f["path"] == "Sub folder/deeper/random data.bin"][0]["size"]')
python3 - loop.img <<'PY'
import sys
# The random file's second cluster points back at its first, in both FATs.
data = bytearray(open(sys.argv[1], 'rb').read())
root = 19 * 512
def entries(offset, count):
    return [data[offset + 32 * i: offset + 32 * i + 32] for i in range(count)]
def cluster_of(name, offset, count):
    for e in entries(offset, count):
        if e[11] != 0x0F and e[:11] == name:
            return e[26] | e[27] << 8
sub = cluster_of(b'SUBFOL~1   ', root, 224)
deeper = cluster_of(b'DEEPER     ', (33 + sub - 2) * 512, 16)
first = cluster_of(b'RANDOM~1BIN', (33 + deeper - 2) * 512, 16)
for fat in (512, 512 + 9 * 512):
    c = first + 1
    at = fat + c + c // 2
    pair = data[at] | data[at + 1] << 8
    pair = (pair & 0x000F) | first << 4 if c & 1 else (pair & 0xF000) | first
    data[at], data[at + 1] = pair & 0xFF, pair >> 8
open(sys.argv[1], 'wb').write(data)
PY
run list --json loop.img
[ "$status" -eq 1 ] || fail "a looping chain: status $status"
grep -q "random data.bin is damaged: its cluster chain loops back" err.txt || fail "loop not named: $err"
echo "$out" > loop.json
[ "$(json_get loop.json '[f["damaged"] for f in j["files"] if f["path"].endswith("random data.bin")][0]')" = True ] ||
    fail "looping file not marked damaged"
[ "$(json_get loop.json 'len(j["files"])')" = "$(json_get list.json 'len(j["files"])')" ] || fail "files lost to the damage"
run extract loop.img -o damaged
[ "$status" -eq 1 ] && [ -f damaged/READONLY.TXT ] && grep -q "only what could be read" err.txt ||
    fail "extract of a damaged volume: $status $err"
# The ddrescue map beside the image names the hello file's one sector as unreadable.
cp vol.img mapped.img
sector=$(python3 -c "
d=open('vol.img','rb').read(); r=19*512
for i in range(224):
    e=d[r+32*i:r+32*i+32]
    if e[11]!=0x0F and e[:8]==b'LONGFI~1': print(33+(e[26]|e[27]<<8)-2)")
printf '# Mapfile\n0x00000000 +\n0x00000000 0x%08X +\n0x%08X 0x00000200 -\n0x%08X 0x%08X +\n' \
    $((sector * 512)) $((sector * 512)) $(((sector + 1) * 512)) $((1474560 - (sector + 1) * 512)) > mapped.img.map
run list mapped.img
[ "$status" -eq 1 ] && grep -q "Long file name.txt  \[damaged\]" out.txt || fail "mapped sector: $status [$out] $err"

# --- Volumes of vorlix make, every format -------------------------------------------------
mkdir small small/Folder
printf 'one\n' > "small/A long name, with spaces.txt"
printf 'two\n' > "small/Folder/second file.dat"
printf 'x' > small/SHORT.TXT
touch -d '2021-03-04 05:06:08' small/SHORT.TXT
for kb in 160 180 320 360 720 1200 1440 1680 2880; do
    rm -rf made.ima back
    run make small made.ima -f "$kb" --label "Disk $kb"
    [ "$status" -eq 0 ] || { fail "make $kb: status $status: $err"; continue; }
    [ "$(stat -c %s made.ima)" -eq $((kb * 1024)) ] || fail "make $kb: $(stat -c %s made.ima) bytes"
    fsck.fat -n made.ima > fsck.txt 2>&1 || fail "fsck.fat -n on $kb kB: $(cat fsck.txt)"
    mkdir back && mcopy -s -m -i made.ima :: back/ || fail "mcopy from the $kb kB volume"
    diff -r small back >/dev/null || fail "$kb kB volume read back differs: $(diff -r small back)"
    [ "$(stat -c %Y back/SHORT.TXT)" = "$(stat -c %Y small/SHORT.TXT)" ] || fail "$kb kB: time not kept"
    mlabel -i made.ima -s :: | grep -q "DISK $kb" || fail "$kb kB: label [$(mlabel -i made.ima -s ::)]"
    # The parameter block mformat writes for the format: media, cluster, root, FAT, geometry.
    case $kb in 1680) geometry="-t 80 -h 2 -s 21" ;; *) geometry="-f $kb" ;; esac
    rm -f reference.img && mformat -C -i reference.img $geometry :: || fail "mformat $kb"
    [ "$(od -An -tx1 -j11 -N17 made.ima)" = "$(od -An -tx1 -j11 -N17 reference.img)" ] ||
        fail "$kb kB parameter block $(od -An -tx1 -j11 -N17 made.ima) is not mformat's $(od -An -tx1 -j11 -N17 reference.img)"
done
mlabel -i made.ima -s :: >/dev/null
[ "$(od -An -tx1 -j510 -N2 made.ima)" = " 55 aa" ] || fail "no boot signature"
grep -aq "This is not a bootable disk." made.ima || fail "no boot message"
run make small made.imz
[ "$status" -eq 0 ] || fail "make .imz: $status $err"
run check made.imz
[ "$status" -eq 0 ] || fail "made .imz does not check: $err"
run list made.imz
[ "$status" -eq 0 ] && grep -q "A long name, with spaces.txt" out.txt || fail "list of made .imz: $out $err"

# An image whose data differs from the checksum its trailer stores is not listed.
run make small sum.img
printf 'X' | dd of=sum.img bs=1 seek=40000 conv=notrunc status=none
run list sum.img
[ "$status" -eq 1 ] && [ -z "$out" ] && grep -qi "checksum" err.txt || fail "checksum mismatch listed: $status $err"

# A folder too large is refused before anything is made, naming both sizes.
mkdir large && head -c 400000 /dev/zero > large/big.bin
run make large toolarge.img -f 360
[ "$status" -eq 1 ] && [ ! -e toolarge.img ] && grep -q "need 400384 bytes, the disk holds 362496" err.txt ||
    fail "too large a folder: $status $err"
run make small bad.img -f 1000
[ "$status" -ne 0 ] && grep -q "1000 is not a floppy format" err.txt || fail "unknown format: $status $err"

[ "$failures" -eq 0 ] || exit 1
echo "FAT volumes passed"
