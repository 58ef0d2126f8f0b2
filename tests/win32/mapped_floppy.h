#pragma once
// Tests that need a real drive A: under Wine run through scripts/with-floppy-image,
// which maps A: to a scratch image and names it in VORLIX_FLOPPY_IMAGE (a Unix path).
#include <stdlib.h>

#include <string>

// The image behind drive A: as a Windows path ("Z:\\tmp\\...\\disk.img"), or "" when
// the test runs without the mapping.
inline std::string MappedFloppyImage() {
    const char* unixPath = getenv("VORLIX_FLOPPY_IMAGE");
    if (unixPath == nullptr || unixPath[0] != '/') {
        return std::string();
    }
    std::string path = std::string("Z:") + unixPath;
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}
