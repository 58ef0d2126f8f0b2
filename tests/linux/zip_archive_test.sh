#!/usr/bin/env bash
# Other programs' ZIP archives as sources of the terminal program: written, checked,
# shown and converted into every kind Vorlix makes, with `unzip -p | sha256sum` as the
# oracle of what the archive holds; every archive without one readable image refused
# with status 1 and the disk untouched. Archives come from `zip` and Python's zipfile.
# Usage: zip_archive_test.sh VORLIX SOURCE_DIR
set -u
vorlix=$(realpath "$1")
source_dir=$(realpath "$2")
[ -x "$vorlix" ] || { echo "no program at $1" >&2; exit 1; }
for tool in zip unzip python3; do
    command -v "$tool" >/dev/null || { echo "skipped: no $tool (scripts/setup installs it)"; exit 77; }
done
source "$(dirname "$0")/script_support.sh"
start_work zip
sum_of() { sha256sum "$1" | cut -c1-64; }
# make_zip ARCHIVE METHOD NAME=FILE...: an archive by Python's zipfile (stored, deflated, bzip2).
make_zip() {
    python3 - "$@" <<'PY'
import sys, zipfile
archive, method, members = sys.argv[1], sys.argv[2], sys.argv[3:]
kinds = {"stored": zipfile.ZIP_STORED, "deflated": zipfile.ZIP_DEFLATED, "bzip2": zipfile.ZIP_BZIP2}
with zipfile.ZipFile(archive, "w", kinds[method]) as z:
    for member in members:
        name, path = member.split("=", 1)
        z.write(path, name)
PY
}

"$source_dir/scripts/make-sample-disk" sample.img 1440 || exit 1
"$source_dir/scripts/make-sample-disk" --blank blank.img 1440 || exit 1
sum=$(sum_of sample.img)
echo "notes" >readme.txt

# Made by each tool, stored and deflated; WinImage's ".imz" is one ".IMA" member, deflated.
cp sample.img DISK.IMA
zip -q -9 by-zip.zip readme.txt DISK.IMA
zip -q -0 stored.zip DISK.IMA readme.txt
make_zip winimage.imz deflated DISK.IMA=sample.img
make_zip python.zip deflated disk.img=sample.img README=readme.txt
for archive in by-zip.zip stored.zip winimage.imz python.zip; do
    [ "$(unzip -p "$archive" DISK.IMA disk.img 2>/dev/null | sha256sum | cut -c1-64)" = "$sum" ] ||
        fail "the oracle reads $archive otherwise"
    cp blank.img target.img
    run write -q -y -d target.img "$archive"; [ "$status" -eq 0 ] || fail "write $archive: $status [$err]"
    [ "$(sum_of target.img)" = "$sum" ] || fail "$archive written differs from unzip -p"
    run check "$archive"; [ "$status" -eq 0 ] || fail "check $archive: $status [$err]"
    case "$out" in "The image file is good."*"SHA-256: $sum"*) ;; *) fail "check $archive said [$out]" ;; esac
    # An archive carries no trailer of ours.
    run info "$archive"; [ "$status" -eq 0 ] || fail "info $archive: $status [$err]"
    case "$out" in *"Trailer:      none"*) ;; *) fail "info $archive said [$out]" ;; esac
done

# Conversions into every kind, and back: the sectors are the archive's member.
printf 'MZ' >fake-program.exe && head -c 4094 /dev/zero >>fake-program.exe
printf 'MZ' >>fake-program.exe && head -c 20000 /dev/urandom >>fake-program.exe
for target in new.imz new.img new.ima; do
    run convert -q winimage.imz "$target"; [ "$status" -eq 0 ] || fail "convert to $target: $status [$err]"
    run convert -q "$target" back.img; [ "$status" -eq 0 ] || fail "convert $target back: $status [$err]"
    [ "$(head -c 1474560 back.img | sha256sum | cut -c1-64)" = "$sum" ] || fail "$target holds other sectors"
    rm -f back.img
done
VORLIX_RESTORER="$work/fake-program.exe" run convert -q python.zip new.exe
[ "$status" -eq 0 ] || fail "convert to .exe: $status [$err]"
run info new.exe
case "$out" in *"SHA-256:      $sum"*) ;; *) fail "info of the converted .exe said [$out]" ;; esac
head -c 16 new.imz | grep -q '^BZh' || fail "the converted .imz is no bzip2 stream"
cp blank.img target.img
run write -q -y -d target.img new.imz; [ "$status" -eq 0 ] || fail "write of Vorlix's own .imz: $status"

# Refusals: status 1, the message, and the disk as it was.
cp sample.img second.img
make_zip none.zip deflated readme.txt=readme.txt
make_zip two.zip deflated a.ima=sample.img b.ima=second.img
zip -q -P secret locked.zip DISK.IMA
make_zip bzip2.zip bzip2 DISK.IMA=sample.img
python3 - <<'PY'
data = bytearray(open("winimage.imz", "rb").read())
data[30 + len("DISK.IMA") + 5000] ^= 0xFF  # inside the member's data
open("bad-crc.imz", "wb").write(data)
open("cut.zip", "wb").write(data[: len(data) // 2])
PY
while IFS='|' read -r archive message; do
    cp blank.img target.img
    run write -q -y -d target.img "$archive"
    [ "$status" -eq 1 ] || fail "write $archive: status $status, expected 1"
    case "$err" in *"$message"*) ;; *) fail "write $archive said [$err], expected [$message]" ;; esac
    cmp -s target.img blank.img || fail "the refused $archive changed the disk"
    run check "$archive"; [ "$status" -eq 1 ] || fail "check $archive: status $status"
    run convert -q "$archive" never.img; [ "$status" -eq 1 ] || fail "convert $archive: status $status"
    [ ! -e never.img ] || fail "the refused $archive made an image"
done <<EOT
none.zip|The archive none.zip holds no floppy disk image.
two.zip|more than one floppy disk image: a.ima, b.ima.
locked.zip|The disk image DISK.IMA in the archive is encrypted.
bzip2.zip|compressed by a method Vorlix cannot read (bzip2).
bad-crc.imz|Failed to read image file
cut.zip|Failed to read image file
EOT

[ "$failures" -eq 0 ] || { echo "$failures failure(s)" >&2; exit 1; }
echo "ZIP archives were written, checked and converted as unzip reads them"
