#!/usr/bin/env python3
"""The terminal program under a pseudo-terminal: the progress line is one line rewritten
in place with its bar and figures; a question is asked on the terminal and answered
there; Ctrl-C at the question cancels with status 2 and changes nothing, and so does the
end of input.
Usage: pty_progress_test.py VORLIX SOURCE_DIR"""
import fcntl
import os
import pty
import select
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import termios
import time

DEADLINE = 60  # seconds for each run of the program


def run_in_pty(argv, cwd, answer=None, interrupt_at_question=False):
    """Runs argv with a pty as its terminal; returns (status, everything it wrote)."""
    pid, master = pty.fork()
    if pid == 0:
        # A terminal of 100 columns: wide enough for the status, the count and a bar.
        fcntl.ioctl(2, termios.TIOCSWINSZ, struct.pack('HHHH', 24, 100, 0, 0))
        os.chdir(cwd)
        os.execv(argv[0], argv)
    output = b''
    end = time.monotonic() + DEADLINE
    answered = False
    try:
        while time.monotonic() < end:
            if not select.select([master], [], [], 0.5)[0]:
                continue
            try:
                chunk = os.read(master, 4096)
            except OSError:  # the child has gone and the pty with it
                break
            if not chunk:
                break
            output += chunk
            if not answered and b'[y/N]' in output:
                answered = True
                os.write(master, b'\x03' if interrupt_at_question else answer)
        else:
            os.kill(pid, signal.SIGKILL)
            os.waitpid(pid, 0)
            raise AssertionError('%s did not end within %d s' % (argv, DEADLINE))
    finally:
        os.close(master)
    _, status = os.waitpid(pid, 0)
    return os.waitstatus_to_exitcode(status), output.decode('utf-8', 'replace')


def main():
    vorlix = os.path.realpath(sys.argv[1])
    source = os.path.realpath(sys.argv[2])
    failures = []
    work = tempfile.mkdtemp(prefix='vorlix-pty.')
    try:
        for args in (['sample.img', '1440'], ['--blank', 'blank.img', '1440']):
            subprocess.run([os.path.join(source, 'scripts/make-sample-disk')] + args, cwd=work, check=True,
                           timeout=120)

        status, text = run_in_pty([vorlix, 'read', '-d', 'sample.img', 'disk.imz'], work)
        if status != 0:
            failures.append('read ended with %d: %r' % (status, text))
        last = text.rstrip('\r\n').split('\r')[-1]
        for part in ('Reading floppy (1440 kB) [', '#]', '100%', '1440 kB copied', 'kB/sec', 'left'):
            if part not in last:
                failures.append('the final progress line %r lacks %r' % (last, part))
        if text.count('\r') < 2 or 'Reading floppy (1440 kB):' in text:
            failures.append('not one rewritten line: %r' % text[:300])
        if not text.endswith('\n'):
            failures.append('the progress line was left open: %r' % text[-80:])

        shutil.copy(os.path.join(work, 'blank.img'), os.path.join(work, 'target.img'))
        status, text = run_in_pty([vorlix, 'write', '-d', 'target.img', 'disk.imz'], work,
                                  interrupt_at_question=True)
        with open(os.path.join(work, 'target.img'), 'rb') as f, open(os.path.join(work, 'blank.img'), 'rb') as g:
            untouched = f.read() == g.read()
        if status != 2 or 'The operation was cancelled' not in text or not untouched:
            failures.append('Ctrl-C at the question: status %d, disk untouched %s, %r' % (status, untouched, text))

        # "y" and then the end of input (Ctrl-D twice) is no answer: nothing is written.
        status, text = run_in_pty([vorlix, 'write', '-d', 'target.img', 'disk.imz'], work, answer=b'y\x04\x04')
        with open(os.path.join(work, 'target.img'), 'rb') as f, open(os.path.join(work, 'blank.img'), 'rb') as g:
            untouched = f.read() == g.read()
        if status != 1 or not untouched:
            failures.append('y and end of input: status %d, disk untouched %s, %r' % (status, untouched, text[:200]))

        status, text = run_in_pty([vorlix, 'write', '-d', 'target.img', 'disk.imz'], work, answer=b'y\n')
        with open(os.path.join(work, 'target.img'), 'rb') as f, open(os.path.join(work, 'sample.img'), 'rb') as g:
            written = f.read() == g.read()
        if status != 0 or not written or 'Writing floppy (1440 kB) [' not in text:
            failures.append('answered yes: status %d, written %s, %r' % (status, written, text[-300:]))
    finally:
        shutil.rmtree(work)
    for failure in failures:
        print('FAIL:', failure, file=sys.stderr)
    if failures:
        sys.exit(1)
    print('progress line, question and Ctrl-C under a pty: passed')


if __name__ == '__main__':
    main()
