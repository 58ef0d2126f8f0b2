#include "engine/image/image_trailer.h"

#include <stdio.h>
#include <string.h>

#include "engine/image/trailer_reader.h"
#include "resources/string_ids.h"

namespace {

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
                   int sectorsPerTrack, const char* checksumHex, int badSectors,
                   int totalSectors) {
    memset(block, 0, sizeof block);
    TextBuilder text{block};
    text.Append(kTrailerVersionTag);
    text.Append("002] ");
    text.Append(kTrailerDescriptionTag);
    // The description's own end marks would end it early when read back: they are
    // stored as blanks.
    const size_t length = BoundedLength(description, kMaxDescriptionLength);
    for (size_t i = 0; i < length; ++i) {
        text.AppendChar(description[i] == kTrailerDescriptionEnd ? ' ' : description[i]);
    }
    text.AppendChar(kTrailerDescriptionEnd);
    text.Append("] ");
    text.Append(kTrailerSectorsTag);
    text.AppendNumber(sectorsPerTrack);
    text.AppendChar(']');
    if (checksumHex != nullptr) {
        text.Append(" ");
        text.Append(kTrailerChecksumTag);
        text.Append(checksumHex, BoundedLength(checksumHex, kTrailerChecksumLength));
        text.AppendChar(']');
    }
    if (badSectors > 0) {
        text.Append(" ");
        text.Append(kTrailerBadSectorsTag);
        text.AppendNumber(badSectors);
        text.AppendChar(']');
    }
    if (totalSectors > 0) {
        text.Append(" ");
        text.Append(kTrailerTotalSectorsTag);
        text.AppendNumber(totalSectors);
        text.AppendChar(']');
    }
}

}  // namespace

int AppendImageTrailer(const char* path, const char* description, int sectorsPerTrack,
                       const char* checksumHex, int badSectors, int totalSectors) {
    // "r+b" rather than "ab": the image must already exist.
    FILE* file = fopen(path, "r+b");
    if (file == nullptr) {
        return -1;
    }
    bool written =
        AppendImageTrailer(file, description, sectorsPerTrack, checksumHex, badSectors,
                           totalSectors) == 0;
    if (fclose(file) != 0) {
        written = false;
    }
    return written ? 0 : -1;
}

int AppendImageTrailer(FILE* file, const char* description, int sectorsPerTrack,
                       const char* checksumHex, int badSectors, int totalSectors) {
    char block[kImageTrailerSize];
    FormatTrailer(block, description != nullptr ? description : "", sectorsPerTrack, checksumHex,
                  badSectors, totalSectors);
    // Flushed: the trailer must not sit in the stream's buffer, where a full disk goes unseen.
    const bool written = fseek(file, 0, SEEK_END) == 0 &&
                         fwrite(block, 1, sizeof block, file) == sizeof block && fflush(file) == 0;
    return written ? 0 : -1;
}

int ReadImageTrailer(const char* path, MessageSink& sink,
                     char (&description)[kDescriptionBufferSize], int* sectorsPerTrack,
                     TrailerChecksum* checksum, int* badSectors, int* totalSectors) {
    const int result = ReadTrailerFile(path, kProgramTrailerPolicy, description, sectorsPerTrack,
                                       checksum, badSectors, totalSectors);
    if (result == kTrailerNewerVersion) {
        sink.Show({IDS_NEWER_IMAGE_VERSION, MessageStyle::Warning});
    }
    return result;
}
