#!/usr/bin/env bash
# The set-up's decisions against a package mirror in every state, without a network: a
# stand-in apt-get, dpkg and dpkg-query first on PATH play a mirror that fails an update
# once, fails one index for good, refuses the i386 packages or refuses a package the build
# needs. Each case must end with the right status and message, and scripts/wine-tier must
# then pick the tier that the installed packages allow.
#   setup_test.sh PATH/TO/setup PATH/TO/wine-tier
set -u
setup_script="$1"
tier_script="$2"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

mkdir -p "$work/bin"
# The stand-ins keep their world in $FAKE: installed (one package a line), architectures,
# updates (one line per update call); FAKE_MODE chooses how the mirror behaves.
cat >"$work/bin/apt-get" <<'EOF'
#!/usr/bin/env bash
args=" $* "
if [[ "$args" == *" update "* ]]; then
    echo update >>"$FAKE/updates"
    calls=$(wc -l <"$FAKE/updates")
    if [ "$FAKE_MODE" = index-fails ] || { [ "$FAKE_MODE" = update-fails-once ] && [ "$calls" -eq 1 ]; }; then
        echo "Err:6 http://mirror.invalid/debian-security bookworm-security/main i386 Packages"
        echo "E: Failed to fetch http://mirror.invalid/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress?" >&2
        echo "E: Some index files failed to download. They have been ignored, or old ones used instead." >&2
        exit 100
    fi
    exit 0
fi
if [[ "$args" == *" install "* ]]; then
    packages=()
    for word in "$@"; do
        case "$word" in -*|install) ;; *) packages+=("$word") ;; esac
    done
    for p in "${packages[@]}"; do
        if [[ "$p" == *:i386 && ( "$FAKE_MODE" == i386-refused || "$FAKE_MODE" == index-fails ) ]] ||
           [[ "$p" == libgtest-dev && "$FAKE_MODE" == base-refused ]]; then
            echo "E: Unable to correct problems, you have held broken packages." >&2
            exit 100
        fi
    done
    printf '%s\n' "${packages[@]}" >>"$FAKE/installed"
    for p in "${packages[@]}"; do
        [ "$p" = wine32:i386 ] && cp "$(type -P true)" "$FAKE/wine32-loader"
    done
    exit 0
fi
if [[ "$args" == *" source "* ]]; then
    package="${*: -1}"
    mkdir -p "$package-1.0/contrib/minizip"
    touch "$package-1.0/bzlib.c" "$package-1.0/sha256-compress.c" "$package-1.0/contrib/minizip/unzip.c"
    exit 0
fi
exit 1
EOF
cat >"$work/bin/dpkg-query" <<'EOF'
#!/usr/bin/env bash
grep -qxF -- "${*: -1}" "$FAKE/installed" 2>/dev/null || exit 1
printf 'install ok installed'
EOF
cat >"$work/bin/dpkg" <<'EOF'
#!/usr/bin/env bash
case "$1" in
    --print-foreign-architectures) cat "$FAKE/architectures" 2>/dev/null ;;
    --add-architecture) echo "$2" >>"$FAKE/architectures" ;;
esac
EOF
chmod +x "$work/bin/"*

# Everything the build needs but mtools; no i386 Wine.
base_installed="cmake ninja-build make g++ googletest libgtest-dev libbz2-dev bzip2 fuse3 python3-fusepy
mingw-w64 gcc-mingw-w64-i686 g++-mingw-w64-i686 gcc-mingw-w64-x86-64 g++-mingw-w64-x86-64
wine wine64 xvfb fonts-wine x11-utils imagemagick dosfstools dpkg-dev python3 nettle-dev hashdeep
clang clang-tidy libclang-rt-14-dev llvm zlib1g-dev libminizip-dev libz-mingw-w64-dev zip unzip"

# name | mirror | status | updates made | tier afterwards | text stderr holds | text it must not hold
cases=(
  "all installs|           ok               |0|1|pe32 |setup: ready|could not"
  "update fails once|      update-fails-once|0|2|pe32 |setup: ready|could not"
  "index fails for good|   index-fails      |0|3|win64|binary-i386/Packages.xz); going on with the lists there are|needs:"
  "i386 refused|           i386-refused     |0|1|win64|wine32:i386 could not be installed|needs:"
  "build package refused|  base-refused     |1|1|win64|could not install the packages the build needs: libgtest-dev mtools|setup: ready"
)

trim() { local v="$1"; v="${v#"${v%%[![:space:]]*}"}"; printf '%s' "${v%"${v##*[![:space:]]}"}"; }

for row in "${cases[@]}"; do
    IFS='|' read -r name mode want_status want_updates want_tier want_text unwanted <<<"$row"
    mode=$(trim "$mode"); want_tier=$(trim "$want_tier")
    fake="$work/$mode"
    mkdir -p "$fake/deps/bzip2" "$fake/deps/nettle" "$fake/deps/minizip"
    touch "$fake/deps/bzip2/bzlib.c" "$fake/deps/nettle/sha256-compress.c" "$fake/deps/minizip/unzip.c"
    tr ' ' '\n' <<<"$base_installed" | grep -v '^$' >"$fake/installed"
    [ "$mode" = base-refused ] && sed -i '/^libgtest-dev$/d' "$fake/installed"
    status=0
    PATH="$work/bin:$PATH" FAKE="$fake" FAKE_MODE="$mode" VORLIX_DEPS_DIR="$fake/deps" VORLIX_APT_PAUSE=0 \
        bash "$setup_script" >"$fake/out" 2>"$fake/err" || status=$?
    updates=$(wc -l <"$fake/updates" 2>/dev/null || echo 0)
    tier=$(VORLIX_WINE_TIER= VORLIX_I386_PROBE="$fake/wine32-loader" "$tier_script" 2>/dev/null)
    problem=""
    [ "$status" = "$want_status" ] || problem+=" status $status, expected $want_status;"
    [ "$updates" = "$want_updates" ] || problem+=" $updates updates, expected $want_updates;"
    [ "$tier" = "$want_tier" ] || problem+=" tier $tier, expected $want_tier;"
    grep -qF -- "$want_text" "$fake/out" "$fake/err" || problem+=" output lacks '$want_text';"
    ! grep -qF -- "$unwanted" "$fake/out" "$fake/err" || problem+=" output holds '$unwanted';"
    if [ -n "$problem" ]; then
        echo "FAIL $name:$problem output: $(cat "$fake/out" "$fake/err")"
        failures=$((failures + 1))
    else
        echo "ok   $name"
    fi
done

# The private source-package lists: a failing update is tried again, and the source that
# the lists do name is still fetched.
fake="$work/sources"
mkdir -p "$fake/deps/nettle"
touch "$fake/deps/nettle/sha256-compress.c"
tr ' ' '\n' <<<"$base_installed mtools wine32:i386" | grep -v '^$' >"$fake/installed"
status=0
PATH="$work/bin:$PATH" FAKE="$fake" FAKE_MODE=update-fails-once VORLIX_DEPS_DIR="$fake/deps" VORLIX_APT_PAUSE=0 \
    bash "$setup_script" >"$fake/out" 2>&1 || status=$?
if [ "$status" -ne 0 ] || [ ! -f "$fake/deps/bzip2/bzlib.c" ] || [ "$(wc -l <"$fake/updates")" -ne 2 ]; then
    echo "FAIL source lists: status $status, $(wc -l <"$fake/updates") updates; output: $(cat "$fake/out")"
    failures=$((failures + 1))
else
    echo "ok   source lists updated on the second try"
fi

[ "$failures" -eq 0 ] && echo "all set-up decisions as expected"
[ "$failures" -eq 0 ]
