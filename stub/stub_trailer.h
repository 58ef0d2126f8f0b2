#pragma once
#include "engine/image_trailer.h"

// The trailer as the restorer stub reads it from its own file. Unlike the main program
// it never looks at the format version: whatever the image says, the stub writes it.
// `description` becomes the description (cut to 255 characters) or empty,
// `sectorsPerTrack` the disk's sectors per track or 0. Returns kTrailerRead,
// kTrailerUnreadable, kTrailerMissing or kTrailerNoDescription; shows nothing.
int ReadStubTrailer(const char* path, char (&description)[kDescriptionBufferSize],
                    int* sectorsPerTrack);
