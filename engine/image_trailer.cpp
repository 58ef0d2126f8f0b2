#include "engine/image_trailer.h"

#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "resources/string_ids.h"

namespace {

constexpr long kCurrentVersion = 2;
const char kVersionTag[] = "[FileVersion ";
const char kDescriptionTag[] = "[Description ";
const char kSectorsTag[] = "[SectorsPerTrack ";
constexpr char kDescriptionEnd = '\x01';
// Version 1 trailers kept the description, zero-terminated, at this offset.
constexpr size_t kVersion1DescriptionOffset = 32;

// strnlen is missing from the C runtime of older Windows.
size_t BoundedLength(const char* text, size_t limit) {
    size_t length = 0;
    while (length < limit && text[length] != '\0') {
        ++length;
    }
    return length;
}

// Appends text to a block that is far larger than any trailer text, so no bound is hit.
struct TextBuilder {
    char* next;

    void Append(const char* text, size_t length) {
        memcpy(next, text, length);
        next += length;
    }
    void Append(const char* text) { Append(text, strlen(text)); }
    void AppendChar(char c) { *next++ = c; }

    void AppendNumber(int value) {
        char digits[12];
        int count = 0;
        // Counting in the negative range reaches INT_MIN without overflowing.
        int rest = value < 0 ? value : -value;
        do {
            digits[count++] = static_cast<char>('0' - rest % 10);
            rest /= 10;
        } while (rest != 0);
        if (value < 0) {
            AppendChar('-');
        }
        while (count > 0) {
            AppendChar(digits[--count]);
        }
    }
};

// The whole trailer block: the text, then zeros.
void FormatTrailer(char (&block)[kImageTrailerSize], const char* description,
                   int sectorsPerTrack) {
    memset(block, 0, sizeof block);
    TextBuilder text{block};
    text.Append(kVersionTag);
    text.Append("002] ");
    text.Append(kDescriptionTag);
    text.Append(description, BoundedLength(description, kMaxDescriptionLength));
    text.AppendChar(kDescriptionEnd);
    text.Append("] ");
    text.Append(kSectorsTag);
    text.AppendNumber(sectorsPerTrack);
    text.AppendChar(']');
}

// Reads the last trailer-sized block of `file` (all of a shorter file) into `block`;
// returns the number of bytes read.
size_t ReadLastBlock(FILE* file, char* block) {
    if (fseek(file, -static_cast<long>(kImageTrailerSize), SEEK_END) != 0) {
        fseek(file, 0, SEEK_SET);
    }
    return fread(block, 1, kImageTrailerSize, file);
}

void CopyDescription(char (&description)[kDescriptionBufferSize], const char* from,
                     size_t length) {
    if (length > kMaxDescriptionLength) {
        length = kMaxDescriptionLength;
    }
    memcpy(description, from, length);
    description[length] = '\0';
}

int ToInt(long value) {
    if (value > INT_MAX) {
        return INT_MAX;
    }
    return value < INT_MIN ? INT_MIN : static_cast<int>(value);
}

// Version 2: the description runs from its tag to the first 0x01 behind it (none: it is
// empty); the sectors per track follow the first tag of theirs anywhere in the text.
void ParseVersion2(const char* text, char (&description)[kDescriptionBufferSize],
                   int* sectorsPerTrack) {
    const char* start = strstr(text, kDescriptionTag);
    if (start != nullptr) {
        start += sizeof kDescriptionTag - 1;
        const char* end = strchr(start, kDescriptionEnd);
        if (end != nullptr) {
            CopyDescription(description, start, static_cast<size_t>(end - start));
        }
    }
    const char* sectors = strstr(text, kSectorsTag);
    if (sectors != nullptr) {
        *sectorsPerTrack = ToInt(strtol(sectors + sizeof kSectorsTag - 1, nullptr, 10));
    }
}

}  // namespace

int AppendImageTrailer(const char* path, const char* description, int sectorsPerTrack) {
    char block[kImageTrailerSize];
    FormatTrailer(block, description != nullptr ? description : "", sectorsPerTrack);

    // "r+b" rather than "ab": the image must already exist.
    FILE* file = fopen(path, "r+b");
    if (file == nullptr) {
        return -1;
    }
    bool written = fseek(file, 0, SEEK_END) == 0 &&
                   fwrite(block, 1, sizeof block, file) == sizeof block;
    // The trailer may still sit in the stream's buffer: a failing close lost it.
    if (fclose(file) != 0) {
        written = false;
    }
    return written ? 0 : -1;
}

int ReadImageTrailer(const char* path, MessageSink& sink,
                     char (&description)[kDescriptionBufferSize], int* sectorsPerTrack) {
    description[0] = '\0';
    *sectorsPerTrack = 0;

    // One byte more than a trailer, always zero: the text ends within the buffer even
    // when the block holds no zero byte.
    char text[kImageTrailerSize + 1] = {};
    FILE* file = fopen(path, "rb");
    if (file == nullptr) {
        return kTrailerUnreadable;
    }
    const size_t got = ReadLastBlock(file, text);
    fclose(file);
    if (got == 0) {
        return kTrailerUnreadable;
    }
    if (strncmp(text, kVersionTag, sizeof kVersionTag - 1) != 0) {
        return kTrailerMissing;
    }

    const long version = strtol(text + sizeof kVersionTag - 1, nullptr, 10);
    if (version > kCurrentVersion) {
        sink.Show({IDS_NEWER_IMAGE_VERSION, MessageStyle::Warning});
        return kTrailerNewerVersion;
    }
    if (version == 1) {
        const size_t length = strlen(text);
        if (length > kVersion1DescriptionOffset) {
            CopyDescription(description, text + kVersion1DescriptionOffset,
                            length - kVersion1DescriptionOffset);
        }
    } else if (version == kCurrentVersion) {
        ParseVersion2(text, description, sectorsPerTrack);
    }
    return description[0] == '\0' ? kTrailerNoDescription : kTrailerRead;
}
