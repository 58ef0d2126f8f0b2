#include "stub/stub_trailer.h"

namespace {

int StubNumber(const char* text) {
    return kStubTrailerPolicy.numberAt(text);
}

// Reads the version alone: the tags are the stub policy's business.
TrailerVersionVerdict OnlyTheVersion(const char* text, char (&)[kDescriptionBufferSize]) {
    return StubNumber(text + sizeof kTrailerVersionTag - 1) > kTrailerCurrentVersion
               ? TrailerVersionVerdict::Newer
               : TrailerVersionVerdict::Done;
}

const TrailerPolicy kVersionProbe = {OnlyTheVersion, StubNumber};

}  // namespace

bool StubTrailerIsNewer(const char* path) {
    char description[kDescriptionBufferSize];
    int sectorsPerTrack = 0;
    return ReadTrailerFile(path, kVersionProbe, description, &sectorsPerTrack) ==
           kTrailerNewerVersion;
}
