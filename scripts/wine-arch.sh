# Sourced by the Wine wrappers: which Wine a build folder's programs need.
# A Windows build folder names its programs' kind in the file "wine-arch" (written by
# CMake): win32 for the PE32 build, win64 for the PE32+ test build. Folders outside a
# build (the demo's) hold PE32 programs.

# Prints win32 or win64 for a path inside (or of) a build folder.
wine_arch_of() {
    local dir="$1"
    while [ "$dir" != "/" ] && [ -n "$dir" ]; do
        if [ -f "$dir/CMakeCache.txt" ]; then
            if [ -f "$dir/wine-arch" ]; then
                cat "$dir/wine-arch"
            else
                echo win32
            fi
            return
        fi
        dir=$(dirname "$dir")
    done
    echo win32
}

# Prints the loader that runs programs of that kind. Debian's `wine` wrapper prefers
# wine32 whenever it is installed, even where the kernel cannot run i386 code, so the
# 64-bit loader is called by its path.
wine_loader() {
    case "$1" in
        win64) echo /usr/lib/wine/wine64 ;;
        *) echo wine ;;
    esac
}
