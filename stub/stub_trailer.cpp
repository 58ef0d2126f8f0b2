#include "stub/stub_trailer.h"

#include <stdio.h>
#include <string.h>


namespace {

const char kVersionTag[] = "[FileVersion ";
const char kDescriptionTag[] = "[Description ";
const char kSectorsTag[] = "[SectorsPerTrack ";
const char kDescriptionEnd = '\x01';

// The last 1024 bytes of the file, or all of a shorter one, zero-padded; the count read.
size_t ReadLastBlock(const char* path, char (&block)[kImageTrailerSize + 1]) {
    memset(block, 0, sizeof block);
    FILE* file = fopen(path, "rb");
    if (file == nullptr) {
        return 0;
    }
    if (fseek(file, -static_cast<long>(kImageTrailerSize), SEEK_END) != 0) {
        fseek(file, 0, SEEK_SET);
    }
    const size_t count = fread(block, 1, kImageTrailerSize, file);
    fclose(file);
    return count;
}

// Blanks, then decimal digits up to the first other character; 0 without digits. Far
// more digits than any disk has cannot overflow: the value stops growing.
int LeadingNumber(const char* text) {
    while (*text == ' ') {
        ++text;
    }
    int value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        if (value < 100000) {
            value = value * 10 + (*text - '0');
        }
    }
    return value;
}

}  // namespace

int ReadStubTrailer(const char* path, char (&description)[kDescriptionBufferSize],
                    int* sectorsPerTrack) {
    description[0] = '\0';
    *sectorsPerTrack = 0;
    // One byte more than the trailer, always zero: the text ends inside the buffer.
    char block[kImageTrailerSize + 1];
    if (ReadLastBlock(path, block) == 0) {
        return kTrailerUnreadable;
    }
    if (strncmp(block, kVersionTag, sizeof kVersionTag - 1) != 0) {
        return kTrailerMissing;
    }
    const char* start = strstr(block, kDescriptionTag);
    if (start != nullptr) {
        start += sizeof kDescriptionTag - 1;
        const char* end = strchr(start, kDescriptionEnd);
        if (end != nullptr) {
            size_t length = static_cast<size_t>(end - start);
            if (length > kMaxDescriptionLength) {
                length = kMaxDescriptionLength;
            }
            memcpy(description, start, length);
            description[length] = '\0';
        }
    }
    const char* sectors = strstr(block, kSectorsTag);
    if (sectors != nullptr) {
        *sectorsPerTrack = LeadingNumber(sectors + sizeof kSectorsTag - 1);
    }
    return description[0] == '\0' ? kTrailerNoDescription : kTrailerRead;
}
