#pragma once
#include <stdio.h>

#include "platform/user_message.h"

// The last 1024 bytes of an image: text, then zero bytes, giving the format version,
// the description, the disk's sectors per track and, since the checksum was added
// (still version 2), the SHA-256 of the sector data.
constexpr int kImageTrailerSize = 1024;
constexpr int kMaxDescriptionLength = 255;
constexpr int kDescriptionBufferSize = kMaxDescriptionLength + 1;

// The layout, shared by the writer and the reader: "[FileVersion 002] [Description ",
// the description, 0x01, "] [SectorsPerTrack ", the number, "]", then, where the image
// has one, " [SHA256 ", 64 lowercase hexadecimal digits, "]", for an emergency read
// that could not read every sector, " [BadSectors ", their count, "]", and, for a format
// other than the three whose sectors per track name them (80 cylinders, 2 heads),
// " [Sectors ", the disk's sector count, "]". Readers that know only the first three
// fields look for their tags and ignore the rest.
constexpr int kTrailerCurrentVersion = 2;
inline constexpr char kTrailerVersionTag[] = "[FileVersion ";
inline constexpr char kTrailerDescriptionTag[] = "[Description ";
inline constexpr char kTrailerSectorsTag[] = "[SectorsPerTrack ";
inline constexpr char kTrailerChecksumTag[] = "[SHA256 ";
inline constexpr char kTrailerBadSectorsTag[] = "[BadSectors ";
inline constexpr char kTrailerTotalSectorsTag[] = "[Sectors ";
constexpr int kTrailerChecksumLength = 64;
constexpr char kTrailerDescriptionEnd = '\x01';
// Version 1 trailers kept the description, zero-terminated, at this offset.
constexpr int kTrailerVersion1DescriptionOffset = 32;

// Results of the trailer readers.
constexpr int kTrailerRead = 0;
constexpr int kTrailerUnreadable = -1;      // no file, or nothing in it
constexpr int kTrailerMissing = -2;         // an image without trailer
constexpr int kTrailerNewerVersion = -3;    // the user has been told to update
constexpr int kTrailerNoDescription = -4;   // read, but the description is empty

// The checksum field of a trailer.
struct TrailerChecksum {
    enum State {
        None,       // no checksum tag after the description: an image made before them
        Stored,     // `hex` holds the 64 digits
        Malformed,  // a tag whose value is not 64 lowercase hexadecimal digits and "]":
                    // the trailer was damaged, so nothing it says about the data holds
    };
    State state = None;
    char hex[kTrailerChecksumLength + 1] = "";
};

// Appends the trailer to an existing, closed image file. The description is cut to its
// first 255 characters, each 0x01 in it stored as a blank; nullptr stands for none.
// `checksumHex` is the data's SHA-256 as 64 lowercase digits, or nullptr for none;
// `badSectors` the count of sectors the image holds as zeros for want of their data, 0
// for none (no field then, so an image of a good disk is what it always was);
// `totalSectors` the disk's sector count, 0 for none (TrailerTotalSectors: a classic
// format's trailer stays as it always was).
// Returns 0, or -1 when the file cannot be opened or the trailer not written whole.
// Shows nothing: the caller reports.
int AppendImageTrailer(const char* path, const char* description, int sectorsPerTrack,
                       const char* checksumHex = nullptr, int badSectors = 0,
                       int totalSectors = 0);

// The same through `file`, an image open for writing: the trailer goes to its end and
// the stream is flushed, but stays open. Returns 0, or -1 when it was not written whole.
int AppendImageTrailer(FILE* file, const char* description, int sectorsPerTrack,
                       const char* checksumHex = nullptr, int badSectors = 0,
                       int totalSectors = 0);

// The program's reader: reads the trailer of `path` under kProgramTrailerPolicy
// (trailer_reader.h). `description` becomes the description, cut to 255 characters, or
// empty; `sectorsPerTrack` the disk's sectors per track, or 0 when the trailer does not
// tell; `checksum`, unless nullptr, the checksum field; `badSectors`, unless nullptr, the
// bad-sector count or 0; `totalSectors`, unless nullptr, the disk's sector count or 0.
// Returns one of the kTrailer*
// results above; only kTrailerNewerVersion shows a message (57666, "made with a newer
// version").
int ReadImageTrailer(const char* path, MessageSink& sink,
                     char (&description)[kDescriptionBufferSize], int* sectorsPerTrack,
                     TrailerChecksum* checksum = nullptr, int* badSectors = nullptr,
                     int* totalSectors = nullptr);
