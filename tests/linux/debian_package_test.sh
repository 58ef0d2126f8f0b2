#!/usr/bin/env bash
# The Debian package as `make deb` makes it (CPack from the native build), made afresh in a
# scratch folder: its files, its dependencies, an install into a scratch root (dpkg -x)
# whose program runs, and lintian without errors where lintian is installed. Skips (77)
# where cpack or dpkg-deb is missing.
# Usage: debian_package_test.sh BUILD_DIR SOURCE_DIR
set -u
build_dir=$(realpath "$1")
source_dir=$(realpath "$2")
command -v cpack >/dev/null && command -v dpkg-deb >/dev/null || { echo "skipped: no cpack or dpkg-deb"; exit 77; }
work=$(mktemp -d "${TMPDIR:-/tmp}/vorlix-deb.XXXXXX") || exit 1
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

timeout -k 5 240 cpack -G DEB --config "$build_dir/CPackConfig.cmake" -B "$work/out" >"$work/cpack.txt" 2>&1 ||
    { cat "$work/cpack.txt"; fail "cpack failed"; exit 1; }
package=$(echo "$work"/out/vorlix_*.deb)
[ -f "$package" ] || { fail "no package in $(ls "$work/out")"; exit 1; }

files=$(dpkg-deb -c "$package" | awk '{print $6}')
expected=(./usr/bin/vorlix ./usr/share/man/man1/vorlix.1.gz ./usr/share/bash-completion/completions/vorlix
          ./usr/share/doc/vorlix/copyright ./usr/share/doc/vorlix/changelog.Debian.gz
          ./usr/share/doc/vorlix/third-party-licences.txt)
[ -f "$source_dir/build/win32/vorlix.exe" ] && expected+=(./usr/share/vorlix/vorlix.exe)
for file in "${expected[@]}"; do
    grep -qx -- "$file" <<<"$files" || fail "the package lacks $file"
done
grep -q '^\./usr/local\|^\./usr/share/man/man1/vorlix\.1$' <<<"$files" && fail "files outside /usr or uncompressed: $files"
depends=$(dpkg-deb -f "$package" Depends)
for library in libbz2 libnettle libminizip; do
    grep -q "$library" <<<"$depends" || fail "Depends has no $library: $depends"
done

dpkg -x "$package" "$work/root"
version=$("$work/root/usr/bin/vorlix" --version) || fail "the installed program's --version ended with $?"
[ "$version" = "vorlix $(dpkg-deb -f "$package" Version | sed 's/-[^-]*$//')" ] || fail "--version printed [$version]"
"$work/root/usr/bin/vorlix" --help >/dev/null || fail "the installed program's --help ended with $?"
if [ -f "$work/root/usr/share/vorlix/vorlix.exe" ]; then
    # The installed program finds the restorer stub in its own prefix.
    truncate -s 1474560 "$work/disk.img"
    "$work/root/usr/bin/vorlix" convert -q "$work/disk.img" "$work/disk.exe" ||
        fail "the installed program made no .exe image (status $?)"
fi
head -n 1 "$work/root/usr/share/doc/vorlix/copyright" | grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
    fail "the copyright file is not machine-readable"

if command -v lintian >/dev/null; then
    timeout -k 5 240 lintian --fail-on error --allow-root "$package" >"$work/lintian.txt" 2>&1 ||
        fail "lintian: $(cat "$work/lintian.txt")"
    sed 's/^/lintian: /' "$work/lintian.txt"
else
    echo "lintian is not installed: the package is not checked by it"
fi
[ "$failures" -eq 0 ] || exit 1
echo "debian package: all passed"
