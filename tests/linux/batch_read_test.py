#!/usr/bin/env python3
"""`vorlix read --batch` driven through a pipe, disks swapped in a file that serves as
the drive between prompts: numbered names, a taken name kept, a skip, a failed disk
offered again, the logs' fields, a manifest that hashdeep (or this test's own reading of
it) audits, an existing manifest appended to, Ctrl-C between disks, and the refusals.
Usage: batch_read_test.py VORLIX SOURCE_DIR"""
import hashlib
import os
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time

DEADLINE = 60  # seconds for each run of the program
failures = []


def fail(text):
    failures.append(text)
    print('FAIL: ' + text, file=sys.stderr)


class Batch:
    """One run of the program; the test answers each prompt as it comes."""

    def __init__(self, vorlix, args, cwd):
        self.proc = subprocess.Popen([vorlix] + args, cwd=cwd, stdin=subprocess.PIPE,
                                     stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                     start_new_session=True)
        self.err = b''
        self.end = time.monotonic() + DEADLINE

    def wait_for(self, text):
        """Reads stderr until `text` has come; False when the program ended or time ran out."""
        while text.encode() not in self.err:
            left = self.end - time.monotonic()
            if left <= 0 or not select.select([self.proc.stderr], [], [], left)[0]:
                return False
            chunk = os.read(self.proc.stderr.fileno(), 4096)
            if not chunk:
                return False
            self.err += chunk
        return True

    def answer(self, line):
        self.proc.stdin.write(line.encode() + b'\n')
        self.proc.stdin.flush()

    def finish(self):
        """Closes the input; returns (status, stdout, stderr)."""
        try:
            out, rest = self.proc.communicate(timeout=max(1, self.end - time.monotonic()))
        except subprocess.TimeoutExpired:
            os.killpg(self.proc.pid, signal.SIGKILL)
            out, rest = self.proc.communicate()
        return self.proc.returncode, out.decode(), (self.err + rest).decode()


def sha256(path):
    return hashlib.sha256(open(path, 'rb').read()).hexdigest()


def log_fields(path):
    return dict(line.split(': ', 1) for line in open(path, encoding='utf-8').read().splitlines())


def audit(folder, manifest, names):
    """hashdeep's audit of `names` against the manifest where it is installed; always
    this test's own comparison of every row with its file."""
    if shutil.which('hashdeep'):
        run = subprocess.run(['hashdeep', '-l', '-a', '-k', manifest] + names, cwd=folder,
                             capture_output=True, text=True, timeout=DEADLINE)
        if run.returncode != 0:
            fail('hashdeep audit failed: ' + run.stdout + run.stderr)
    lines = open(os.path.join(folder, manifest)).read().splitlines()
    if lines[:2] != ['%%%% HASHDEEP-1.0', '%%%% size,md5,sha256,filename']:
        fail('manifest header: %r' % lines[:2])
    rows = {}
    for line in lines:
        if not line.startswith(('%', '#')):
            size, md5, sha, name = line.split(',', 3)
            data = open(os.path.join(folder, name), 'rb').read()
            if (int(size), md5, sha) != (len(data), hashlib.md5(data).hexdigest(), hashlib.sha256(data).hexdigest()):
                fail('manifest row does not match ' + name)
            rows[name] = rows.get(name, 0) + 1
    return lines, rows


def main():
    vorlix, source = os.path.realpath(sys.argv[1]), os.path.realpath(sys.argv[2])
    work = tempfile.mkdtemp(prefix='vorlix-batch.')
    try:
        make = os.path.join(source, 'scripts', 'make-sample-disk')
        subprocess.run([make, 'one.img', '1440'], cwd=work, check=True)
        subprocess.run([make, 'three.img', '720'], cwd=work, check=True)
        drive = os.path.join(work, 'drive.img')
        put = lambda disk: shutil.copyfile(os.path.join(work, disk), drive)
        open(os.path.join(work, 'box-02.img'), 'wb').write(b'kept')

        b = Batch(vorlix, ['read', '--batch', '-q', '-d', drive, '-m', 'Box 4, disk ##', 'box-##.img'], work)
        put('one.img')
        if b.wait_for('Insert disk 1 (box-01.img), then press Enter (s: skip, q: stop): '):
            b.answer('')
        if b.wait_for('Insert disk 3 (box-03.img)'):
            open(drive, 'wb').close()  # no disk: a file of no floppy's size
            b.answer('')
        if b.wait_for('was not read') and b.wait_for('Insert disk 3 (box-03.img)'):
            put('three.img')
            b.answer('')
        if b.wait_for('Insert disk 4 (box-04.img)'):
            b.answer('s')
        b.wait_for('Insert disk 5')
        status, out, err = b.finish()
        if status != 1:
            fail('status %d, expected 1; stderr: %s' % (status, err))
        if 'box-02.img is already there and is kept: disk 2 skipped' not in err:
            fail('no word of the taken name: ' + err)
        if open(os.path.join(work, 'box-02.img'), 'rb').read() != b'kept':
            fail('the taken name was replaced')
        if 'Disk 3 (box-03.img) was not read; it is offered again.' not in err:
            fail('no word of the failed disk: ' + err)
        for name, disk in (('box-01.img', 'one.img'), ('box-03.img', 'three.img')):
            line = '%s: ' % name
            if not any(l.startswith(line) and l.endswith(', 0 bad sectors, SHA-256 ' + sha256(os.path.join(work, disk)))
                       for l in out.splitlines()):
                fail('no result line for %s: %s' % (name, out))
        if not out.endswith('2 images made, 0 with bad sectors, 0 failed, 2 skipped\n'):
            fail('summary: ' + out)

        fields = log_fields(os.path.join(work, 'box-03.img.log'))
        expected = {'Program': 'Vorlix', 'Device': drive, 'Description': 'Box 4, disk 03', 'Sectors': '1440',
                    'Bad sectors': '0', 'Retries': 'none (not an emergency read)',
                    'Disk SHA-256': sha256(os.path.join(work, 'three.img')),
                    'Disk MD5': hashlib.md5(open(os.path.join(work, 'three.img'), 'rb').read()).hexdigest(),
                    'Image SHA-256': sha256(os.path.join(work, 'box-03.img'))}
        for key, value in expected.items():
            if fields.get(key) != value:
                fail('log %s: %r, expected %r' % (key, fields.get(key), value))
        for key in ('Started', 'Finished'):
            if not (fields.get(key, '').endswith('Z') and len(fields.get(key, '')) == 20):
                fail('log %s: %r' % (key, fields.get(key)))
        if "read --batch -q -d" not in fields.get('Command', '') or '720 kB' not in fields.get('Format', ''):
            fail('log command or format: %r' % fields)

        made = ['box-01.img', 'box-01.img.log', 'box-03.img', 'box-03.img.log']
        lines, rows = audit(work, 'manifest.txt', made)
        if sorted(rows) != made:
            fail('manifest rows: %r' % rows)

        # A second batch appends to the manifest without a second header; Ctrl-C at the
        # next prompt ends it with 2.
        put('one.img')
        b = Batch(vorlix, ['read', '--batch', '-q', '--first', '7', '-d', drive, 'box-##.img'], work)
        if b.wait_for('Insert disk 7 (box-07.img)'):
            b.answer('')
        if b.wait_for('Insert disk 8 (box-08.img)'):
            os.killpg(b.proc.pid, signal.SIGINT)
        status, out, err = b.finish()
        if status != 2 or 'operation was cancelled' not in err:
            fail('Ctrl-C between disks: status %d, stderr %s' % (status, err))
        lines, rows = audit(work, 'manifest.txt', made + ['box-07.img', 'box-07.img.log'])
        if sum(l.startswith('%%%% HASHDEEP') for l in lines) != 1 or 'box-07.img' not in rows:
            fail('the manifest was not appended to once: %r' % lines)
        if os.path.exists(os.path.join(work, 'box-08.img')):
            fail('an image for the cancelled disk')

        for pattern in ('box.img', 'a#b#.img'):
            run = subprocess.run([vorlix, 'read', '--batch', '-d', drive, pattern], cwd=work, stdin=subprocess.DEVNULL,
                                 capture_output=True, text=True, timeout=DEADLINE)
            if run.returncode != 255 or 'one run of' not in run.stderr:
                fail('pattern %s: status %d, %s' % (pattern, run.returncode, run.stderr))

        run = subprocess.run([vorlix, 'read', '-q', '--log', '-d', drive, 'single.imz'], cwd=work,
                             stdin=subprocess.DEVNULL, capture_output=True, text=True, timeout=DEADLINE)
        single = os.path.join(work, 'single.imz.log')
        if run.returncode != 0 or not os.path.exists(single) or \
                log_fields(single).get('Image SHA-256') != sha256(os.path.join(work, 'single.imz')):
            fail('read --log: status %d, %s' % (run.returncode, run.stderr))
    finally:
        shutil.rmtree(work, ignore_errors=True)
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
