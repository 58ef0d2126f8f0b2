#!/usr/bin/env python3
"""Turns the program's string table (resources/strings.rc with string_ids.h) into a C++
table for the terminal program, so that both systems show the same texts for the same
IDs. Usage: make_string_table.py STRING_IDS_H STRINGS_RC OUTPUT_CPP"""
import re
import sys


def read_ids(text):
    return {name: int(value) for name, value in
            re.findall(r'^\s*#define\s+(IDS_\w+)\s+(\d+)', text, re.MULTILINE)}


def unescape(body):
    out, i = [], 0
    while i < len(body):
        c = body[i]
        if c == '\\' and i + 1 < len(body):
            nxt = body[i + 1]
            out.append({'n': '\n', 't': '\t', '\\': '\\', '"': '"'}.get(nxt, '\\' + nxt))
            i += 2
        elif c == '"' and body[i + 1:i + 2] == '"':
            out.append('"')
            i += 2
        else:
            out.append(c)
            i += 1
    return ''.join(out)


def c_literal(text):
    parts = []
    for byte in text.encode('utf-8'):
        ch = chr(byte)
        if ch == '\\' or ch == '"':
            parts.append('\\' + ch)
        elif ch == '\n':
            parts.append('\\n')
        elif 32 <= byte < 127:
            parts.append(ch)
        else:
            parts.append('\\%03o' % byte)
    return '"' + ''.join(parts) + '"'


def main(ids_path, rc_path, out_path):
    with open(ids_path, encoding='cp1252') as f:
        ids = read_ids(f.read())
    entries = []
    with open(rc_path, encoding='cp1252') as f:
        for line in f:
            match = re.match(r'^\s*(IDS_\w+|\d+)\s+"(.*)"\s*$', line)
            if not match:
                continue
            key, body = match.groups()
            if key not in ids and not key.isdigit():
                sys.exit('%s: %s has no ID in %s' % (rc_path, key, ids_path))
            entries.append((ids[key] if key in ids else int(key), unescape(body)))
    if not entries:
        sys.exit('%s: no string entries found' % rc_path)
    lines = ['// Made from resources/strings.rc by linux/make_string_table.py; do not edit.',
             '#include "linux/program_strings.h"', '',
             'const ProgramString kProgramStrings[] = {']
    for number, text in sorted(entries):
        lines.append('    {%d, %s},' % (number, c_literal(text)))
    lines += ['};', '',
              'const unsigned kProgramStringCount = sizeof(kProgramStrings) / sizeof(kProgramStrings[0]);',
              '']
    with open(out_path, 'w', encoding='ascii') as f:
        f.write('\n'.join(lines))


if __name__ == '__main__':
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    main(*sys.argv[1:])
