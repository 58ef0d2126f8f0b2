#pragma once
#include <stdint.h>

#include "engine/image/md5_digest.h"
#include "engine/image/sha256_digest.h"

// A file's size and its MD5 and SHA-256, as a fixity manifest lists them.
struct FileHashes {
    uint64_t size = 0;
    char md5[Md5Digest::kHexLength + 1] = {};
    char sha256[Sha256Digest::kHexLength + 1] = {};
};

// Reads the whole file at `path` once: 0 with `out` filled, -1 when it would not open or
// read to its end (nothing shown; the caller names the file).
int HashFile(const char* path, FileHashes* out);
