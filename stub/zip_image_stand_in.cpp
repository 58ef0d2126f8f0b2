// The restorer stub reads only the bzip2 image behind itself, never a ZIP archive: this
// stands in for engine/image/zip_image_reader.cpp so that neither zlib nor minizip is
// linked into it.
#include "engine/image/zip_image_reader.h"

ZipOpen ZipImageReader::Open(const char*, char* text, size_t size) {
    if (size > 0) text[0] = '\0';
    return ZipOpen::Damaged;
}

ZipRead ZipImageReader::Read(char*, unsigned, unsigned* got) {
    *got = 0;
    return ZipRead::Failed;
}

void ZipImageReader::Close() {}
