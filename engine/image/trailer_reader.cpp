#include "engine/image/trailer_reader.h"

#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

void CopyDescription(char (&description)[kDescriptionBufferSize], const char* from,
                     size_t length) {
    if (length > kMaxDescriptionLength) {
        length = kMaxDescriptionLength;
    }
    memcpy(description, from, length);
    description[length] = '\0';
}

// --- The program's rules

// Where long is wider than int (the native build), the clamp gives what Windows' strtol
// gives.
int ClampedNumber(const char* text) {
    const long value = strtol(text, nullptr, 10);
    if (value > INT_MAX) {
        return INT_MAX;
    }
    return value < INT_MIN ? INT_MIN : static_cast<int>(value);
}

TrailerVersionVerdict CheckVersion(const char* text, char (&description)[kDescriptionBufferSize]) {
    const int version = ClampedNumber(text + sizeof kTrailerVersionTag - 1);
    if (version > kTrailerCurrentVersion) {
        return TrailerVersionVerdict::Newer;
    }
    if (version == 1) {
        const size_t length = strlen(text);
        if (length > kTrailerVersion1DescriptionOffset) {
            CopyDescription(description, text + kTrailerVersion1DescriptionOffset,
                            length - kTrailerVersion1DescriptionOffset);
        }
    }
    // Versions below 1 hold nothing we read.
    return version == kTrailerCurrentVersion ? TrailerVersionVerdict::ReadTags
                                             : TrailerVersionVerdict::Done;
}

// --- The restorer stub's rules

TrailerVersionVerdict AnyVersion(const char*, char (&)[kDescriptionBufferSize]) {
    return TrailerVersionVerdict::ReadTags;
}

// Far more digits than any disk has cannot overflow: the value stops growing.
int PlainNumber(const char* text) {
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

// --- Shared

// The digits behind a checksum tag: exactly 64 lowercase hexadecimal ones, then "]".
void ReadChecksum(const char* value, TrailerChecksum& checksum) {
    checksum.state = TrailerChecksum::Malformed;
    for (int i = 0; i < kTrailerChecksumLength; ++i) {
        const char c = value[i];
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return;
        checksum.hex[i] = c;
    }
    if (value[kTrailerChecksumLength] != ']') return;
    checksum.hex[kTrailerChecksumLength] = '\0';
    checksum.state = TrailerChecksum::Stored;
}

// The checksum field is the first tag of its own behind `descriptionEnd`, the 0x01 that
// ends the description: only this program's writer puts one there, always behind a whole
// description, and one typed into the description is text.
void ReadChecksumBehind(const char* descriptionEnd, TrailerChecksum& checksum) {
    const char* tag = strstr(descriptionEnd, kTrailerChecksumTag);
    if (tag != nullptr) ReadChecksum(tag + sizeof kTrailerChecksumTag - 1, checksum);
}

// The 0x01 that ends the description behind its tag; nullptr where there is none.
const char* DescriptionEnd(const char* text) {
    const char* start = strstr(text, kTrailerDescriptionTag);
    return start != nullptr ? strchr(start + sizeof kTrailerDescriptionTag - 1, kTrailerDescriptionEnd)
                            : nullptr;
}

// The number behind the first `tag` behind the description; a negative one is none.
int CountBehind(const char* descriptionEnd, const char* tag, size_t tagLength,
                const TrailerPolicy& policy) {
    const char* found = strstr(descriptionEnd, tag);
    if (found == nullptr) return 0;
    const int count = policy.numberAt(found + tagLength);
    return count > 0 ? count : 0;
}

// The description runs from its tag to the first 0x01 behind it (none: it is empty).
// The sectors per track follow the first tag of theirs outside the description: text
// that someone typed must not change the disk's format. Where the description has no
// end there is no description, and the first tag anywhere counts.
void ReadTags(const char* text, const TrailerPolicy& policy,
              char (&description)[kDescriptionBufferSize], int* sectorsPerTrack,
              TrailerChecksum* checksum, int* badSectors, int* totalSectors) {
    const char* start = strstr(text, kTrailerDescriptionTag);
    const char* end = nullptr;
    if (start != nullptr) {
        start += sizeof kTrailerDescriptionTag - 1;
        end = strchr(start, kTrailerDescriptionEnd);
        if (end != nullptr) {
            CopyDescription(description, start, static_cast<size_t>(end - start));
        }
    }
    const char* sectors = strstr(text, kTrailerSectorsTag);
    // The tag holds no 0x01, so one that begins inside the description ends there too.
    if (sectors != nullptr && end != nullptr && sectors >= start && sectors < end) {
        sectors = strstr(end, kTrailerSectorsTag);
    }
    if (sectors != nullptr) {
        *sectorsPerTrack = policy.numberAt(sectors + sizeof kTrailerSectorsTag - 1);
    }
    if (checksum != nullptr && end != nullptr) ReadChecksumBehind(end, *checksum);
    // The count of sectors an emergency read could not read stands behind it too; a
    // negative one is no count.
    if (badSectors != nullptr && end != nullptr) {
        *badSectors = CountBehind(end, kTrailerBadSectorsTag, sizeof kTrailerBadSectorsTag - 1, policy);
    }
    // So does the sector count of a format that its sectors per track do not name.
    if (totalSectors != nullptr && end != nullptr) {
        *totalSectors =
            CountBehind(end, kTrailerTotalSectorsTag, sizeof kTrailerTotalSectorsTag - 1, policy);
    }
}

}  // namespace

const TrailerPolicy kProgramTrailerPolicy = {CheckVersion, ClampedNumber};
const TrailerPolicy kStubTrailerPolicy = {AnyVersion, PlainNumber};

int ReadTrailerFile(const char* path, const TrailerPolicy& policy,
                    char (&description)[kDescriptionBufferSize], int* sectorsPerTrack,
                    TrailerChecksum* checksum, int* badSectors, int* totalSectors) {
    description[0] = '\0';
    *sectorsPerTrack = 0;
    if (totalSectors != nullptr) *totalSectors = 0;
    if (checksum != nullptr) *checksum = TrailerChecksum{};
    if (badSectors != nullptr) *badSectors = 0;

    // One byte more than a trailer, always zero: the text ends within the buffer even
    // when the block holds no zero byte.
    char text[kImageTrailerSize + 1] = {};
    FILE* file = fopen(path, "rb");
    if (file == nullptr) {
        return kTrailerUnreadable;
    }
    if (fseek(file, -static_cast<long>(kImageTrailerSize), SEEK_END) != 0) {
        // A file shorter than a trailer: read it all. Just opened, it stands at 0 anyway.
        fseek(file, 0, SEEK_SET);  // NOLINT(cert-err33-c)
    }
    const size_t got = fread(text, 1, kImageTrailerSize, file);
    fclose(file);  // NOLINT(cert-err33-c): read only
    if (got == 0) {
        return kTrailerUnreadable;
    }
    if (strncmp(text, kTrailerVersionTag, sizeof kTrailerVersionTag - 1) != 0) {
        return kTrailerMissing;
    }
    const TrailerVersionVerdict verdict = policy.checkVersion(text, description);
    if (verdict == TrailerVersionVerdict::ReadTags) {
        ReadTags(text, policy, description, sectorsPerTrack, checksum, badSectors, totalSectors);
    } else if (checksum != nullptr) {
        // Whatever else a version's layout holds, a checksum field it carries is compared:
        // data that differs from what was read off the disk must not reach another one.
        const char* end = DescriptionEnd(text);
        if (end != nullptr) ReadChecksumBehind(end, *checksum);
    }
    if (verdict == TrailerVersionVerdict::Newer) {
        return kTrailerNewerVersion;
    }
    return description[0] == '\0' ? kTrailerNoDescription : kTrailerRead;
}
