#!/usr/bin/env bash
# The terminal program against the kernel's real floppy driver: Debian's own kernel under
# QEMU (no KVM needed) with disk images as its floppy disks, the program inside a small
# initramfs. Two boots, since a drive's disk and its write protection are fixed at boot:
#   1. one drive, a 1.44 MB disk: `vorlix drives` finds /dev/fd0, read and write take it
#      without -d, byte for byte; `list` reads it where the program has that command;
#   2. a 720 kB disk in fd0 and a write-protected 1.44 MB disk in fd1: both are listed,
#      a read without -d is refused naming them, the 720 kB disk is read and written byte
#      for byte, and a write to fd1 gets the write-protect message.
# The host compares the disk images after each boot too. Skips (77) with one line where
# QEMU, a static busybox or the kernel (tests/linux/fetch_test_kernel.sh) is missing.
# Usage: qemu_floppy_test.sh VORLIX SOURCE_DIR
set -u
vorlix=$(realpath "$1")
source_dir=$(realpath "$2")
boot_seconds=${VORLIX_QEMU_BOOT_SECONDS:-130}
skip() { echo "skipped: $*"; exit 77; }

qemu=$(command -v qemu-system-x86_64) || skip "no qemu-system-x86_64 (scripts/setup installs qemu-system-x86)"
busybox=$(command -v busybox) || skip "no busybox (scripts/setup installs busybox-static)"
file -L "$busybox" 2>/dev/null | grep -q 'statically linked' || skip "$busybox is not the static busybox (busybox-static)"
kernel_root=$(bash "$source_dir/tests/linux/fetch_test_kernel.sh" "$source_dir/build/qemu-kernel") ||
    skip "Debian's kernel could not be fetched (tests/linux/fetch_test_kernel.sh)"
vmlinuz=$(echo "$kernel_root"/boot/vmlinuz-*)
modules=$(echo "$kernel_root"/lib/modules/*)

work=$(mktemp -d "${TMPDIR:-/tmp}/vorlix-qemu.XXXXXX") || exit 1
qemu_pid=""
cleanup() {
    [ -n "$qemu_pid" ] && kill "$qemu_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
cd "$work" || exit 1
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

for disk in 1440 720; do
    "$source_dir/scripts/make-sample-disk" "sample$disk.img" "$disk" >/dev/null || exit 1
    "$source_dir/scripts/make-sample-disk" --blank "blank$disk.img" "$disk" >/dev/null || exit 1
done

# The guest's checks: each prints "CHECK-OK name" or "CHECK-FAIL name: why".
cat > checks.sh <<'GUEST'
ok() { echo "CHECK-OK $1"; }
no() { echo "CHECK-FAIL $1: $2"; }
# run ARGS...: vorlix with $status, out.txt and err.txt, at most 60 s.
run() { status=0; timeout 60 vorlix "$@" >/tmp/out.txt 2>/tmp/err.txt </dev/null || status=$?; }
# expect NAME STATUS [TEXT FILE]: the status was STATUS (and FILE holds TEXT).
expect() {
    if [ "$status" != "$2" ]; then no "$1" "status $status, stderr: $(cat /tmp/err.txt)"; return; fi
    if [ -n "${3:-}" ] && ! grep -q -- "$3" "$4"; then no "$1" "no '$3' in $(cat "$4")"; return; fi
    ok "$1"
}
same() { if cmp -s "$2" "$3"; then ok "$1"; else no "$1" "$2 and $3 differ"; fi; }
knows_list() { vorlix --help 2>/dev/null | grep -q '^  list'; }

one_drive() {
    run drives; expect drives-finds-fd0 0 '^/dev/fd0 .*1440 kB' /tmp/out.txt
    [ "$(wc -l < /tmp/out.txt)" = 1 ] && ok drives-one-line || no drives-one-line "$(cat /tmp/out.txt)"
    if knows_list; then run list -d /dev/fd0; expect list-reads-the-disk 0; fi
    run read -q /tmp/read.ima; expect read-takes-the-only-drive 0
    same read-1440-byte-for-byte /tmp/read.ima /t/sample1440.img
    run write -q -y /t/blank1440.img; expect write-takes-the-only-drive 0
    run read -q -d /dev/fd0 /tmp/back.ima; expect read-back-1440 0
    same write-1440-byte-for-byte /tmp/back.ima /t/blank1440.img
}

two_drives() {
    run drives; expect drives-finds-fd0 0 '^/dev/fd0 .*720 kB' /tmp/out.txt
    expect drives-shows-protection 0 '^/dev/fd1 .*1440 kB.*write-protected' /tmp/out.txt
    run read -q /tmp/refused.ima; expect read-without-d-refused 1 '/dev/fd1' /tmp/err.txt
    [ ! -e /tmp/refused.ima ] && ok refusal-makes-no-file || no refusal-makes-no-file "the image was made"
    run read -q -d /dev/fd0 /tmp/read.ima; expect read-720 0
    same read-720-byte-for-byte /tmp/read.ima /t/sample720.img
    run write -q -y -d /dev/fd0 /t/blank720.img; expect write-720 0
    run read -q -d /dev/fd0 /tmp/back.ima; expect read-back-720 0
    same write-720-byte-for-byte /tmp/back.ima /t/blank720.img
    run write -q -y -d /dev/fd1 /t/blank1440.img; expect write-protected-disk 1 'write protected' /tmp/err.txt
}
GUEST

# The initramfs: busybox, the floppy module with what it depends on, the program with its
# shared libraries, the disks to compare with, and an init that runs one set of checks.
root=initramfs
mkdir -p "$root"/{bin,dev,proc,sys,tmp,t,modules}
cp "$busybox" "$root/bin/busybox"
cp "$vorlix" "$root/bin/vorlix"
for library in $(ldd "$vorlix" | grep -o '/[^ ]*'); do
    mkdir -p "$root$(dirname "$library")"
    cp -L "$library" "$root$library"
done
while read -r module; do
    case "$module" in
        *.ko) cp "$modules/$module" "$root/modules/" ;;
        *.ko.xz) xz -dc "$modules/$module" > "$root/modules/$(basename "${module%.xz}")" ;;
        *.ko.zst) zstd -qdc "$modules/$module" > "$root/modules/$(basename "${module%.zst}")" ;;
    esac
    basename "${module%.ko*}" >> "$root/modules/order"
done < "$modules/load-order"
cp sample1440.img blank1440.img sample720.img blank720.img checks.sh "$root/t/"
cat > "$root/init" <<'INIT'
#!/bin/busybox sh
/bin/busybox --install -s /bin
export PATH=/bin
mount -t proc proc /proc
mount -t sysfs sysfs /sys
mount -t devtmpfs devtmpfs /dev
for module in $(cat /modules/order); do insmod "/modules/$module.ko" || echo "CHECK-FAIL insmod-$module: refused"; done
. /t/checks.sh
# The kernel command line names the set of checks.
for word in $(cat /proc/cmdline); do case "$word" in checks=*) "${word#checks=}" ;; esac; done
echo CHECKS-ENDED
poweroff -f
INIT
chmod +x "$root/init"
(cd "$root" && find . | "$busybox" cpio -o -H newc 2>/dev/null) | gzip -1 > initramfs.gz || exit 1

# boot CHECKS DRIVE...: one boot, its serial console in CHECKS.log; judged by its lines.
boot() {
    local checks=$1 log=$1.log
    shift
    timeout -k 5 "$boot_seconds" "$qemu" -machine pc -m 256 -display none -vga none -nic none -monitor none \
        -no-reboot -serial "file:$log" -kernel "$vmlinuz" -initrd initramfs.gz \
        -append "console=ttyS0 panic=-1 loglevel=3 checks=$checks" "$@" </dev/null >qemu.txt 2>&1 &
    qemu_pid=$!
    wait "$qemu_pid"
    qemu_pid=""
    grep -q '^CHECKS-ENDED' "$log" || { fail "$checks: the guest did not finish: $(tail -n 5 "$log" qemu.txt)"; return; }
    grep '^CHECK-FAIL' "$log" | while read -r line; do echo "FAIL: $checks: ${line#CHECK-FAIL }" >&2; done
    failures=$((failures + $(grep -c '^CHECK-FAIL' "$log")))
    echo "$checks: $(grep -c '^CHECK-OK' "$log") checks passed"
}

cp sample1440.img fd0.img
boot one_drive -drive if=floppy,index=0,format=raw,file=fd0.img
cmp -s fd0.img blank1440.img || fail "one_drive: the 1.44 MB disk does not hold the image written"

cp sample720.img fd0.img
cp sample1440.img fd1.img
boot two_drives -drive if=floppy,index=0,format=raw,file=fd0.img \
    -drive if=floppy,index=1,format=raw,file=fd1.img,readonly=on
cmp -s fd0.img blank720.img || fail "two_drives: the 720 kB disk does not hold the image written"
cmp -s fd1.img sample1440.img || fail "two_drives: the write-protected disk changed"

[ "$failures" -eq 0 ] || { echo "$failures failure(s)"; exit 1; }
echo "qemu floppy: all passed"
