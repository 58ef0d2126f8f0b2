#pragma once
#include "engine/image/image_trailer.h"

// The one trailer reader of the program and the restorer stub. What they share: the
// version tag at offset 0, the description from its tag to the first 0x01 behind it, the
// first sectors tag outside the description, the cut to 255 characters, the text ending
// at the first zero byte or after 1024 bytes. What differs is their policy, below.
// Nothing here allocates or shows a message.

// What a policy's version rule leaves to the reader.
enum class TrailerVersionVerdict {
    ReadTags,  // read the tags of version 2
    Done,      // nothing more to read: the rule read an older layout itself, or none
    Newer,     // made by a newer version: refused, nothing read
};

// A reader's policy. Its rules are functions, so that each program links only the rules
// of its own policy: the restorer stub has a size limit.
struct TrailerPolicy {
    // Looks at the version number behind the version tag of `text` (zero-terminated).
    // A rule that knows an older layout fills `description` from it and answers Done.
    TrailerVersionVerdict (*checkVersion)(const char* text,
                                          char (&description)[kDescriptionBufferSize]);
    // The decimal number at the start of `text`.
    int (*numberAt)(const char* text);
};

// The program's: a version above 2 is refused (ReadImageTrailer then shows message
// 57666), version 1 is read, any other but 2 holds nothing but its checksum field; numbers as strtol reads them
// (any white space, a sign), clamped to the range of int.
extern const TrailerPolicy kProgramTrailerPolicy;
// The restorer stub's: it writes whatever image it carries, so every trailer is read by
// the tags of version 2 whichever version made it; numbers are blanks, then digits
// (0 without any), and stop growing at six digits.
extern const TrailerPolicy kStubTrailerPolicy;

// Reads the last 1024 bytes of `path` (all of a shorter file) under `policy`.
// `description` becomes the description or empty, `sectorsPerTrack` the disk's sectors
// per track or 0, and `checksum`, unless nullptr, the checksum field: the first tag of its
// own behind the 0x01 that ends the description (one typed into the description is text),
// None when there is none; read in a trailer of any version, also one refused as newer or
// read by an older layout; `badSectors`, unless nullptr, the number behind
// the first bad-sector tag behind the description, 0 without one; `totalSectors`, unless
// nullptr, the number behind the first sector-count tag behind the description, 0
// without one (a trailer of a classic format). Returns kTrailerRead, kTrailerUnreadable
// (the file does not open or holds nothing), kTrailerMissing, kTrailerNoDescription or
// kTrailerNewerVersion.
int ReadTrailerFile(const char* path, const TrailerPolicy& policy,
                    char (&description)[kDescriptionBufferSize], int* sectorsPerTrack,
                    TrailerChecksum* checksum = nullptr, int* badSectors = nullptr,
                    int* totalSectors = nullptr);
