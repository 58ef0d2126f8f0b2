#!/usr/bin/env bash
# Which Wine the wrappers pick for a path (scripts/wine-arch.sh): the build folder's own
# word, found from any folder below it, and the PE32 default elsewhere.
#   wine_arch_test.sh PATH/TO/wine-arch.sh
set -u
. "$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/w64/tests/gui-wineprefix" "$work/w32/tests" "$work/old/tests" "$work/loose/wineprefix"
for b in w64 w32 old; do touch "$work/$b/CMakeCache.txt"; done
echo win64 > "$work/w64/wine-arch"
echo win32 > "$work/w32/wine-arch"
# A wine-arch file above the nearest build folder belongs to another build.
echo win64 > "$work/wine-arch"

failures=0
# path | arch | loader
cases=(
  "w64|win64|/usr/lib/wine/wine64"
  "w64/tests/gui-wineprefix|win64|/usr/lib/wine/wine64"
  "w32/tests|win32|wine"
  "old/tests|win32|wine"
  "loose/wineprefix|win32|wine"
)
for row in "${cases[@]}"; do
    IFS='|' read -r path want_arch want_loader <<<"$row"
    arch=$(wine_arch_of "$work/$path")
    loader=$(wine_loader "$arch")
    if [ "$arch" != "$want_arch" ] || [ "$loader" != "$want_loader" ]; then
        echo "FAIL $path: $arch with $loader, expected $want_arch with $want_loader"
        failures=$((failures + 1))
    fi
done
[ "$failures" -eq 0 ] && echo "every path gets the expected Wine"
[ "$failures" -eq 0 ]
