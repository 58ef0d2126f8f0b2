#!/usr/bin/env bash
# The terminal program when the world around it misbehaves: standard streams closed
# before it starts, a reader of its messages that has gone, two interrupts in a row.
# Whatever happens to its text, the images and the disk it writes stay whole.
# Usage: hostile_world_test.sh VORLIX SOURCE_DIR
set -u
vorlix=$(realpath "$1")
source_dir=$(realpath "$2")
[ -x "$vorlix" ] || { echo "no program at $1" >&2; exit 1; }
command -v python3 >/dev/null || { echo "python3 is missing" >&2; exit 77; }
work=$(mktemp -d "${TMPDIR:-/tmp}/vorlix-hostile.XXXXXX") || exit 1
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

"$source_dir/scripts/make-sample-disk" sample.img 1440 || exit 1
"$source_dir/scripts/make-sample-disk" --blank blank.img 1440 || exit 1
timeout -k 5 60 setsid "$vorlix" read -q -d sample.img -m "Sample" sample.imz </dev/null || exit 1

# Runs vorlix with the redirections in $1 (closing descriptors among them), without a
# terminal, at most 60 s; sets $status.
run_with() {
    local redirections=$1
    shift
    status=0
    eval 'timeout -k 5 60 setsid "$vorlix" "$@" </dev/null' "$redirections" || status=$?
}
# The first 1,474,560 bytes of $1 are the sample disk.
same_disk() {
    head -c 1474560 "$1" | cmp -s - sample.img
}

# Closed standard streams: no text reaches the device, the image or the converted image.
for closed in '2>&-' '1>&- 2>&-'; do
    cp blank.img device.img
    run_with "$closed" write -y --no-verify -d device.img sample.imz
    [ "$status" -eq 0 ] || fail "write with $closed: status $status"
    cmp -s device.img sample.img || fail "write with $closed: the device differs from the image"
    rm -f read.img converted.img
    run_with "$closed" read -d sample.img read.img
    [ "$status" -eq 0 ] || fail "read with $closed: status $status"
    same_disk read.img || fail "read with $closed: the image differs from the disk"
    run_with "$closed" convert sample.imz converted.img
    [ "$status" -eq 0 ] || fail "convert with $closed: status $status"
    same_disk converted.img || fail "convert with $closed: the converted image differs"
    run_with "" check converted.img >/dev/null
    [ "$status" -eq 0 ] || fail "check of the image converted with $closed: status $status"
done

# A pipe whose reader has gone, as stderr of a job and stdout of info: the job ends
# whole with its own status; output that could not be written is not success.
mkfifo gone
exec 4<>gone 5>gone 4<&-
cp blank.img device.img
rm -f piped.imz
run_with '2>&5' read -d sample.img piped.imz
[ "$status" -eq 0 ] || fail "read into a gone reader: status $status"
ls ./*.tmp >/dev/null 2>&1 && fail "read into a gone reader left $(ls ./*.tmp)"
run_with '2>&5' write -y -d device.img piped.imz
[ "$status" -eq 0 ] || fail "write into a gone reader: status $status"
cmp -s device.img sample.img || fail "write into a gone reader: the device differs"
run_with '>&5 2>err.txt' info sample.imz
[ "$status" -eq 1 ] || fail "info into a gone reader: status $status, expected 1"
[ "$(cat err.txt)" = "vorlix: The output could not be written: Broken pipe" ] ||
    fail "info into a gone reader said [$(cat err.txt)]"
exec 5>&-

# A job whose stderr pipe is full and never read hangs in its progress write; the first
# Ctrl-C asks it to stop, the second ends it at once with 130, by exit, not by the signal.
# The image it was replacing is left as it was, and the one it was making is gone.
cp sample.img keep.img
python3 - "$vorlix" <<'EOF' || fail "second interrupt"
import os, signal, subprocess, sys, time
r, w = os.pipe()
os.set_blocking(w, False)
for size in (4096, 1):
    try:
        while True:
            os.write(w, b'x' * size)
    except BlockingIOError:
        pass
os.set_blocking(w, True)
child = subprocess.Popen([sys.argv[1], 'read', '-y', '-d', 'sample.img', 'keep.img'],
                         stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=w,
                         start_new_session=True)
os.close(w)
def blocked():
    with open('/proc/%d/wchan' % child.pid) as f:
        return 'pipe' in f.read()
def interrupt_pending():
    with open('/proc/%d/status' % child.pid) as f:
        masks = [int(line.split()[1], 16) for line in f if line.startswith(('SigPnd', 'ShdPnd'))]
    return any(mask & (1 << (signal.SIGINT - 1)) for mask in masks)
try:
    end = time.monotonic() + 30
    while not blocked() and time.monotonic() < end:
        time.sleep(0.05)
    if not blocked():
        sys.exit('the job never waited on its stderr')
    child.send_signal(signal.SIGINT)
    while interrupt_pending() and time.monotonic() < end:  # two at once would be one
        time.sleep(0.05)
    child.send_signal(signal.SIGINT)
    status = child.wait(timeout=20)
except subprocess.TimeoutExpired:
    sys.exit('two interrupts did not end the job')
finally:
    if child.poll() is None:
        child.kill()
        child.wait()
    os.close(r)
if status != 130:
    sys.exit('status %d, expected an exit with 130' % status)
EOF
cmp -s keep.img sample.img || fail "a job ended by two interrupts changed the image it was replacing"
ls ./*.tmp >/dev/null 2>&1 && fail "a job ended by two interrupts left $(ls ./*.tmp)"

[ "$failures" -eq 0 ] || { echo "$failures failure(s)" >&2; exit 1; }
echo "all hostile-world checks passed"
