# What the terminal program's script tests share; sourced once `vorlix` is set.

# start_work NAME: a fresh folder of the test's own, removed when it ends, made the
# current one; the failure count starts at 0.
start_work() {
    work=$(mktemp -d "${TMPDIR:-/tmp}/vorlix-$1.XXXXXX") || exit 1
    trap 'rm -rf "$work"' EXIT
    cd "$work" || exit 1
    failures=0
}

fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# Runs vorlix without a controlling terminal (no question can be asked), at most 60 s;
# sets $status, $out and $err (also left in out.txt and err.txt).
run() {
    status=0
    timeout -k 5 60 setsid "$vorlix" "$@" >out.txt 2>err.txt </dev/null || status=$?
    out=$(cat out.txt)
    err=$(cat err.txt)
}
