#!/usr/bin/env bash
# Fetches Debian's own kernel for the QEMU floppy test into FOLDER (default build/qemu-kernel)
# without installing it: the package that linux-image-amd64 depends on, unpacked with
# dpkg -x, of which only the kernel and the floppy module with the modules it depends on
# (its "depends=" field, what depmod reads for modules.dep) are kept. Safe to run again:
# a kernel already unpacked there is kept.
# Prints the folder of the unpacked kernel (FOLDER/root); ends with 1 when it cannot.
set -euo pipefail

here=$(cd "$(dirname "$0")/../.." && pwd)
folder=${1:-$here/build/qemu-kernel}
root=$folder/root

say() { printf 'fetch_test_kernel: %s\n' "$*" >&2; }

if compgen -G "$root/boot/vmlinuz-*" >/dev/null && compgen -G "$root/lib/modules/*/load-order" >/dev/null; then
    echo "$root"
    exit 0
fi
command -v apt-get >/dev/null && command -v dpkg >/dev/null || { say "no apt-get or dpkg here"; exit 1; }
package=$(apt-cache depends linux-image-amd64 2>/dev/null |
          sed -n 's/^ *Depends: \(linux-image-[0-9][^ ]*-amd64\)$/\1/p' | head -n 1)
[ -n "$package" ] || { say "the package lists name no kernel for linux-image-amd64"; exit 1; }
mkdir -p "$folder/download"
rm -rf "$folder/download/"*.deb "$root.new"
if ! (cd "$folder/download" && timeout 600 apt-get download -q "$package" >/dev/null 2>&1); then
    say "$package could not be downloaded"
    exit 1
fi
dpkg -x "$folder/download/"*.deb "$root.new"
modules=$(echo "$root.new"/lib/modules/*)
keep=$(mktemp -d "$folder/keep.XXXXXX")
# keep_module NAME: the module and, first, what it depends on.
keep_module() {
    local file depends
    file=$(find "$modules/kernel" -name "$1.ko*" | head -n 1)
    [ -n "$file" ] || { say "the kernel has no module $1"; return 1; }
    [ -e "$keep/${file#"$modules/"}" ] && return 0
    depends=$(grep -a -o 'depends=[A-Za-z0-9_,-]*' "$file" | head -n 1 | sed 's/^depends=//; s/,/ /g')
    for dependency in $depends; do keep_module "$dependency" || return 1; done
    mkdir -p "$keep/$(dirname "${file#"$modules/"}")"
    cp "$file" "$keep/${file#"$modules/"}"
    echo "${file#"$modules/"}" >> "$keep/load-order"
}
keep_module floppy
rm -rf "$modules/kernel" "$modules/modules.builtin.modinfo"
mv "$keep"/* "$modules/" && rmdir "$keep"
rm -rf "$root" "$folder/download"
mv "$root.new" "$root"
echo "$root"
