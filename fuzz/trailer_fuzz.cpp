// The trailer reader over any file ending, under both policies: the program's (version
// rules, strtol numbers) and the restorer stub's (every trailer as version 2, six-digit
// numbers). Whatever the bytes, the results stay within their buffers and ranges.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "engine/image/trailer_reader.h"
#include "fuzz/scratch_folder.h"

namespace {

void ReadUnder(const char* path, const TrailerPolicy& policy) {
    char description[kDescriptionBufferSize];
    memset(description, 'x', sizeof description);
    int sectorsPerTrack = -12345;
    int totalSectors = -12345;
    TrailerChecksum checksum;
    const int result = ReadTrailerFile(path, policy, description, &sectorsPerTrack, &checksum,
                                       nullptr, &totalSectors);
    if (result != kTrailerRead && result != kTrailerUnreadable && result != kTrailerMissing &&
        result != kTrailerNoDescription && result != kTrailerNewerVersion) {
        abort();
    }
    // The description is always a text of at most 255 characters.
    if (memchr(description, '\0', sizeof description) == nullptr) {
        abort();
    }
    if (result == kTrailerRead && description[0] == '\0') {
        abort();  // an empty description is kTrailerNoDescription
    }
    if (sectorsPerTrack == -12345) {
        abort();  // never left unset
    }
    if (totalSectors < 0) {
        abort();  // a count, or 0 for none
    }
    if (checksum.state == TrailerChecksum::Stored &&
        (strlen(checksum.hex) != kTrailerChecksumLength ||
         strspn(checksum.hex, "0123456789abcdef") != kTrailerChecksumLength)) {
        abort();
    }
    // The stub's numbers stop growing at six digits.
    if (&policy == &kStubTrailerPolicy && (sectorsPerTrack < 0 || sectorsPerTrack > 999999)) {
        abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = Scratch().Write("trailer.img", data, size);
    ReadUnder(path.c_str(), kProgramTrailerPolicy);
    ReadUnder(path.c_str(), kStubTrailerPolicy);
    return 0;
}
