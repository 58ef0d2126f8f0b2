#pragma once
#include "engine/image/trailer_reader.h"

// The trailer as the restorer stub reads it from its own file: the shared reader under
// the stub's policy, which never looks at the format version (whatever the image says,
// the stub writes it). `description` becomes the description (cut to 255 characters) or
// empty, `sectorsPerTrack` the disk's sectors per track or 0, `checksum` the checksum
// field. Returns kTrailerRead, kTrailerUnreadable, kTrailerMissing or
// kTrailerNoDescription; shows nothing.
inline int ReadStubTrailer(const char* path, char (&description)[kDescriptionBufferSize],
                           int* sectorsPerTrack, TrailerChecksum* checksum = nullptr) {
    return ReadTrailerFile(path, kStubTrailerPolicy, description, sectorsPerTrack, checksum);
}

// Whether the trailer of `path` names a format version above the one this stub was built
// with, its number read as the stub reads every number. The stub still writes such an
// image, but tells the user first. False for a file without a trailer.
bool StubTrailerIsNewer(const char* path);
