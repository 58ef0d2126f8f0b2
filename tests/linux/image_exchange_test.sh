#!/usr/bin/env bash
# Images handed between the two systems: the Windows program under Wine reads a sample
# disk into an image, the native program checks what it says and writes it onto a disk;
# the native program reads a disk, and the Windows program writes that image. Both
# written disks must equal the sample. Skips (77) without the native program.
# Usage: image_exchange_test.sh SOURCE_DIR VORLIX_EXE NATIVE_VORLIX PREFIX
set -u
source_dir="$1"
program="$2"
native="$3"
prefix="$4"
[ -x "$native" ] || { echo "skipped: no native program at $native (cmake --build --preset native)"; exit 77; }
[ -f "$program" ] || { echo "no Windows program at $program" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/vorlix-exchange.XXXXXX") || exit 1
"$source_dir/scripts/wine-prefix" "$prefix" >/dev/null || exit 1
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
VORLIX_BUILD_DIR=$(dirname "$program")
export VORLIX_BUILD_DIR
# As after the program's first start, so that it asks nothing before the job.
timeout -k 5 60 "$source_dir/scripts/wine-run" reg add 'HKCU\Software\Quendal Software\Vorlix\Info' \
    /v Version /d "$("$native" --version | cut -d' ' -f2)" /f >/dev/null 2>&1
# Until the registry is saved and the server gone, as scripts/demo does: started sooner,
# the program ended at once with 0 here and without running its job.
timeout -k 5 60 wineserver -w || wineserver -k 2>/dev/null
drive="$work/drive-a.img"
cleanup() {
    rm -f "$prefix/dosdevices/a::"
    "$source_dir/scripts/wine-stop" "$prefix" >/dev/null 2>&1
    rm -rf "$work"
}
trap cleanup EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
windows_path() { printf 'Z:%s' "$1" | tr '/' '\\'; }
insert() { cp "$1" "$drive" && ln -sfn "$drive" "$prefix/dosdevices/a::"; }
# The Windows program, unattended (/f), under a private display, at most 300 s.
windows_vorlix() {
    local status=0
    "$source_dir/scripts/with-xvfb" timeout -k 5 300 "$source_dir/scripts/wine-run" "$program" "$@" || status=$?
    return "$status"
}
native_vorlix() {
    timeout -k 5 120 setsid "$native" "$@" </dev/null
}

"$source_dir/scripts/make-sample-disk" "$work/sample.img" 1440 || exit 1
"$source_dir/scripts/make-sample-disk" --blank "$work/blank.img" 1440 || exit 1
sum=$(sha256sum "$work/sample.img" | cut -c1-64)

# Windows makes the image; Linux reads its trailer and writes it.
insert "$work/sample.img"
windows_vorlix /r "$(windows_path "$work/from-windows.imz")" /d "Made on Windows" /f ||
    fail "the Windows read ended with $?"
if [ -f "$work/from-windows.imz" ]; then
    native_vorlix check "$work/from-windows.imz" >/dev/null || fail "the native check refused the Windows image"
    info=$(native_vorlix info "$work/from-windows.imz") || fail "info of the Windows image"
    case "$info" in *"Description:  Made on Windows"*"SHA-256:      $sum"*) ;;
    *) fail "the native program read the Windows trailer as [$info]" ;; esac
    cp "$work/blank.img" "$work/linux-disk.img"
    native_vorlix write -q -y -d "$work/linux-disk.img" "$work/from-windows.imz" ||
        fail "the native write of the Windows image ended with $?"
    cmp -s "$work/linux-disk.img" "$work/sample.img" || fail "the disk written on Linux differs"
else
    fail "the Windows program made no image"
fi

# Linux makes the image; Windows writes it.
native_vorlix read -q -d "$work/sample.img" -m "Made on Linux" "$work/from-linux.imz" ||
    fail "the native read ended with $?"
insert "$work/blank.img"
windows_vorlix /w "$(windows_path "$work/from-linux.imz")" /f || fail "the Windows write ended with $?"
cmp -s "$drive" "$work/sample.img" || fail "the disk written by the Windows program differs"

[ "$failures" -eq 0 ] || exit 1
echo "images made on each system were written by the other"
