#include "engine/job/file_hashes.h"

#include <stdio.h>

int HashFile(const char* path, FileHashes* out) {
    FILE* file = fopen(path, "rb");
    if (file == nullptr) return -1;
    Md5Digest md5;
    Sha256Digest sha256;
    uint64_t size = 0;
    char buffer[16384];
    size_t got = 0;
    while ((got = fread(buffer, 1, sizeof buffer, file)) > 0) {
        md5.Update(buffer, got);
        sha256.Update(buffer, got);
        size += got;
    }
    const bool whole = ferror(file) == 0;
    fclose(file);  // NOLINT(cert-err33-c): read only
    if (!whole) return -1;
    out->size = size;
    md5.FinishHex(out->md5);
    sha256.FinishHex(out->sha256);
    return 0;
}
