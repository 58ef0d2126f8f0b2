#!/usr/bin/env bash
# The terminal program on disk image files as its devices: read and write back in each
# kind, info, the exit statuses and messages of refusals, and what survives a failure.
# Usage: end_to_end_test.sh VORLIX SOURCE_DIR
set -u
vorlix=$(realpath "$1")
source_dir=$(realpath "$2")
[ -x "$vorlix" ] || { echo "no program at $1" >&2; exit 1; }
source "$(dirname "$0")/script_support.sh"
start_work e2e
expect_status() {
    [ "$status" -eq "$1" ] || fail "vorlix $2: status $status, expected $1; stderr: $err"
}
expect_err() {
    [ "$err" = "$1" ] || fail "stderr was [$err], expected [$1]"
}

"$source_dir/scripts/make-sample-disk" sample-1440.img 1440 || exit 1
"$source_dir/scripts/make-sample-disk" sample-720.img 720 || exit 1
"$source_dir/scripts/make-sample-disk" --blank blank-1440.img 1440 || exit 1

# Read in each kind and write back onto a blank disk: the same bytes.
for size in 1440 720; do
    for kind in img imz; do
        rm -f "disk.$kind"
        run read -q -d "sample-$size.img" -m "Disk $size" "disk.$kind"
        expect_status 0 "read $size .$kind"
        [ -z "$err" ] || fail "-q still wrote [$err]"
        truncate -s 0 target.img && truncate -s "$(stat -c %s "sample-$size.img")" target.img
        run write -y -d target.img "disk.$kind"
        expect_status 0 "write $size .$kind"
        cmp -s target.img "sample-$size.img" || fail "$size .$kind written back differs"
        case "$err" in *"Writing floppy ($size kB): 100%"*"Verifying floppy ($size kB): 100%"*) ;; *) fail "no plain progress lines of both passes: [$err]" ;; esac
    done
done

run info disk.imz
expect_status 0 "info"
case "$out" in
*"Description:  Disk 720"*"Format:       720 kB, 3.5-inch double density (80 x 2 x 9)"*"SHA-256:      "$(sha256sum sample-720.img | cut -c1-64)*) ;;
*) fail "info said [$out]" ;;
esac

# The help asked for is a result: stdout and 0. Help instead of a command and refused
# arguments: 255, as the Windows program's -1.
run --help; expect_status 0 "--help"
case "$out" in Usage:*) ;; *) fail "--help printed [$out]" ;; esac
[ -z "$err" ] || fail "--help wrote to stderr: [$err]"
run read --help x.img; expect_status 0 "read --help"
run; expect_status 255 "(no arguments)"
case "$err" in Usage:*) ;; *) fail "a bare vorlix printed [$err] on stderr" ;; esac
run read -z x.img; expect_status 255 "read -z"
expect_err "vorlix: unknown option '-z'
Try 'vorlix --help' for more information."
run --version; expect_status 0 "--version"
[ "$out" = "vorlix 1.5.2" ] || fail "--version printed [$out]"
run read -d sample-1440.img disk.txt; expect_status 255 "read to .txt"
expect_err "vorlix: Only files with extensions IMG, IMA, VFD, FLP, IMZ and EXE can be created with Vorlix"
run write -d target.img missing.imz; expect_status 255 "write of a missing image"
expect_err "vorlix: Unable to open missing.imz"

# Devices that are no floppy: refused, nothing created.
truncate -s 2000000 big.raw
run read -d big.raw new.img; expect_status 1 "read from a 2 MB file"
expect_err "vorlix: big.raw is not a floppy disk (2000000 bytes).
Only disks of a standard PC floppy format (160 kB to 2880 kB) are read or written."
[ ! -e new.img ] || fail "a refused read left new.img"
run read -d /nonexistent/fd0 new.img; expect_status 1 "read from a missing device"
expect_err "vorlix: Unable to open /nonexistent/fd0"
run write -y -d disk.img disk.img; expect_status 255 "write of an image onto itself"

# Questions: without a terminal and without -y the answer is no, and nothing changes.
cp disk.imz keep.imz
run read -d sample-1440.img keep.imz; expect_status 1 "read over an existing image, no -y"
case "$err" in *"keep.imz already exists."*"give -y to answer yes"*) ;; *) fail "question said [$err]" ;; esac
cmp -s keep.imz disk.imz || fail "a declined read changed the target"
cp blank-1440.img target.img
run write -d target.img disk.img; expect_status 1 "write without -y"
cmp -s target.img blank-1440.img || fail "a declined write changed the disk"

# A damaged image never reaches the disk.
cp disk.imz damaged.imz
printf 'XXXX' | dd of=damaged.imz bs=1 seek=2000 conv=notrunc status=none
run write -y -d target.img damaged.imz; expect_status 1 "write of a damaged image"
cmp -s target.img blank-1440.img || fail "a damaged image changed the disk"
# Nor one of another format than the disk.
cp sample-720.img small.img
run read -q -y -d sample-1440.img big-image.img
run write -y -d small.img big-image.img; expect_status 1 "write of 1440 kB onto 720 kB"
cmp -s small.img sample-720.img || fail "a mismatched write changed the disk"

# Emergency reads make ".img" only.
run read -e -d sample-1440.img rescue.imz; expect_status 1 "emergency read to .imz"
expect_err "vorlix: You can only save image file as IMG when emergency read mode is active"

# A self-extracting image needs the restorer stub.
VORLIX_RESTORER="$work/none.exe" run read -d sample-1440.img disk.exe
expect_status 1 "read to .exe without the stub"
case "$err" in *"The restorer stub for .exe images is not installed ($work/none.exe)"*) ;; *) fail "stub message [$err]" ;; esac

# Check and convert: kinds change, the disk's bytes and checksum do not.
run check disk.imz; expect_status 0 "check"
case "$out" in "The image file is good."*"matches its contents."*) ;; *) fail "check said [$out]" ;; esac
run convert -q disk.imz converted.img; expect_status 0 "convert .imz to .img"
[ "$(head -c 737280 converted.img | cmp - sample-720.img)" = "" ] || fail "the converted image differs"
run convert -q converted.img again.imz -m "Renamed"; expect_status 0 "convert .img to .imz"
run info again.imz
case "$out" in *"Description:  Renamed"*"SHA-256:      "$(sha256sum sample-720.img | cut -c1-64)*) ;; *) fail "info after convert [$out]" ;; esac
cp converted.img broken.img
printf 'X' | dd of=broken.img bs=1 seek=5000 conv=notrunc status=none
run check broken.img; expect_status 1 "check of a damaged image"
run convert -q broken.img never.imz; expect_status 1 "convert of a damaged image"
[ ! -e never.imz ] || fail "a damaged source made an image"
run convert disk.imz disk.imz; expect_status 255 "convert onto the source"
run check notes.txt; expect_status 255 "check of a .txt"

# Other programs' raw names hold exactly the disk's bytes; a trailer behind them is
# honoured and never written to the disk; a ".zip" is never made.
run read -q -d sample-1440.img other.vfd; expect_status 0 "read to .vfd"
cmp -s other.vfd sample-1440.img || fail "the .vfd is not the disk byte for byte"
run info other.vfd
case "$out" in *"Kind:         raw disk image (.vfd)"*"Trailer:      none"*) ;; *) fail "info of a .vfd [$out]" ;; esac
run convert -q other.vfd from-vfd.imz; expect_status 0 "convert .vfd to .imz"
run convert -q from-vfd.imz back.flp; expect_status 0 "convert .imz to .flp"
cmp -s back.flp sample-1440.img || fail "the .flp made from the .imz differs"
run read -q -d sample-1440.img -m "Kept" described.img && cp described.img described.ima
truncate -s 0 target.img && truncate -s 1474560 target.img
run write -q -y -d target.img described.ima; expect_status 0 "write of an .ima with a trailer"
cmp -s target.img sample-1440.img || fail "an .ima with a trailer wrote more than its data"
run convert disk.imz disk.zip; expect_status 255 "convert to .zip"
expect_err "vorlix: Only files with extensions IMG, IMA, VFD, FLP, IMZ and EXE can be created with Vorlix"
[ ! -e disk.zip ] || fail "a refused conversion made disk.zip"
run info notes.txt; expect_status 255 "info of a .txt"
expect_err "vorlix: notes.txt is not an image: its name must end in .img, .ima, .vfd, .flp, .imz, .zip or .exe"

# Emergency reads with retries: the image of a good disk is the disk.
run read -q -e --retries 2 -d sample-1440.img rescued.img; expect_status 0 "read -e --retries 2"
[ "$(head -c 1474560 rescued.img | cmp - sample-1440.img)" = "" ] || fail "the emergency image differs"

[ "$failures" -eq 0 ] || { echo "$failures failure(s)" >&2; exit 1; }
echo "all end-to-end checks passed"
