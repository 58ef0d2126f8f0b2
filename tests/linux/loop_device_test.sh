#!/usr/bin/env bash
# The terminal program over real block devices: loop devices holding FAT12 disks. A read
# and a write back, a write-protected device, a device of another size, and a mounted
# one (where this machine lets us mount). Needs root and losetup; skips (77) otherwise.
# Usage: loop_device_test.sh VORLIX SOURCE_DIR
set -u
vorlix=$(realpath "$1")
source_dir=$(realpath "$2")
skip() { echo "skipped: $*"; exit 77; }
[ "$(id -u)" -eq 0 ] || skip "loop devices need root"
command -v losetup >/dev/null || skip "no losetup"

work=$(mktemp -d "${TMPDIR:-/tmp}/vorlix-loop.XXXXXX") || exit 1
loops=()
mounted=""
cleanup() {
    [ -n "$mounted" ] && umount "$mounted" 2>/dev/null
    for loop in "${loops[@]}"; do losetup -d "$loop" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT
cd "$work" || exit 1

# attach FILE [losetup options...]: prints the loop device
attach() {
    local file="$1"
    shift
    local loop
    loop=$(timeout -k 5 30 losetup -f --show "$@" "$file" 2>/dev/null) || return 1
    loops+=("$loop")
    echo "$loop"
}

"$source_dir/scripts/make-sample-disk" sample.img 1440 || exit 1
"$source_dir/scripts/make-sample-disk" --blank blank.img 1440 || exit 1
truncate -s 2097152 big.img
source_loop=$(attach sample.img -r) || skip "losetup cannot attach a loop device here"
loops=("$source_loop")
target_loop=$(attach blank.img) || skip "losetup cannot attach a second loop device"
loops+=("$target_loop")
big_loop=$(attach big.img) || skip "losetup cannot attach a third loop device"
loops+=("$big_loop")

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
run() {
    status=0
    err=$(timeout -k 5 60 setsid "$vorlix" "$@" 2>&1 </dev/null >/dev/null) || status=$?
}

run read -q -d "$source_loop" -m "from a loop device" disk.imz
[ "$status" -eq 0 ] || fail "read from $source_loop: $status [$err]"
run write -q -y -d "$target_loop" disk.imz
[ "$status" -eq 0 ] || fail "write to $target_loop: $status [$err]"
cmp -s blank.img sample.img || fail "the disk written over the loop device differs from the one read"

run write -q -y -d "$source_loop" disk.imz
[ "$status" -eq 1 ] && [ "$err" = "vorlix: The floppy disk is write protected" ] ||
    fail "read-only loop device: $status [$err]"

run write -q -y -d "$big_loop" disk.imz
[ "$status" -eq 1 ] && [ "$err" = "vorlix: $big_loop is not a floppy disk (2097152 bytes).
Only disks of a standard PC floppy format (160 kB to 2880 kB) are read or written." ] ||
    fail "2 MB loop device: $status [$err]"
[ "$(cmp big.img <(head -c 2097152 /dev/zero) 2>&1)" = "" ] || fail "the 2 MB device was written to"

mkdir -p "mount point"
if timeout -k 5 30 mount -o ro "$target_loop" "$work/mount point" 2>/dev/null; then
    mounted="$work/mount point"
    run read -q -d "$target_loop" again.img
    [ "$status" -eq 1 ] && [ "$err" = "vorlix: $target_loop is mounted on $work/mount point.
Unmount it first; a mounted disk is never read or written." ] || fail "mounted device: $status [$err]"
    [ ! -e again.img ] || fail "a refused read made an image"
else
    echo "note: mounting is not possible here; the mounted-device case was not run"
fi

[ "$failures" -eq 0 ] || exit 1
echo "loop device read, write and refusals passed"
