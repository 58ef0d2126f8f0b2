#pragma once
#include <stdio.h>

// Reads `file` byte by byte from its current position until the `length` bytes of
// `signature` (at most 16) have come in a row, and leaves the file positioned at the
// first of them. At most `limit` bytes are read, so the whole signature must lie within
// them; a negative limit reads to the end. Returns 0 when found; -1 when the file ends,
// a read fails or the limit is reached first, with the position left wherever it got.
int SeekToSignature(FILE* file, const unsigned char* signature, int length, long limit);
