#pragma once
#include <stdio.h>

// The stub of a self-extracting image is far smaller than this; a payload further in is
// not looked for.
constexpr long kCompressedStreamSearchLimit = 524288;

// Positions a self-extracting image, opened for binary reading, at the first byte of its
// bzip2 stream: the first "BZh91AY" lying wholly within the first 524,288 bytes of the
// file. Returns 0 when found, -1 otherwise (the caller reports that the file holds no
// image).
int FindCompressedStream(FILE* file);
