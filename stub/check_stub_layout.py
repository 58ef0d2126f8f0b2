#!/usr/bin/env python3
"""Checks that vorlix.exe carries the restorer stub the way the program finds it: the
first executable header at or after offset 1024 is where the stub begins, and from there
to the end the file is the built stub, byte for byte. Neither file may hold the bzip2
stream signature, or a self-extracting image would be decompressed from the wrong place.

Usage: check_stub_layout.py PROGRAM STUB
"""
import sys

HEADER = bytes([0x4D, 0x5A, 0x90, 0x00, 0x03, 0x00, 0x00])
STREAM = bytes([0x42, 0x5A, 0x68, 0x39, 0x31, 0x41, 0x59])


def main(program_path, stub_path):
    with open(program_path, 'rb') as f:
        program = f.read()
    with open(stub_path, 'rb') as f:
        stub = f.read()
    problems = []
    start = program.find(HEADER, 1024)
    if start < 0:
        problems.append('no executable header at or after offset 1024 of the program')
    elif program[start:] != stub:
        problems.append('the program file from offset %d on (%d bytes) is not the stub (%d bytes)'
                        % (start, len(program) - start, len(stub)))
    if not stub.startswith(HEADER):
        problems.append('the stub does not begin with the executable header')
    if stub.find(HEADER, 1) >= 0:
        problems.append('the stub holds a second executable header')
    for name, data in (('program', program), ('stub', stub)):
        if STREAM in data:
            problems.append('the %s holds the bzip2 stream signature' % name)
    for problem in problems:
        print(problem)
    if not problems:
        print('stub of %d bytes at offset %d of %d' % (len(stub), start, len(program)))
    return 1 if problems else 0


if __name__ == '__main__':
    if len(sys.argv) != 3:
        print(__doc__)
        sys.exit(2)
    sys.exit(main(sys.argv[1], sys.argv[2]))
