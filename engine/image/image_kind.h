#pragma once

// An image's kind follows from the last four characters of its name alone; the
// contents are never sniffed.
enum class ImageKind {
    None,            // not an image name
    Raw,             // ".img": the sectors, then a trailer unless made in compatible mode
    Compressed,      // ".imz": one bzip2 stream, then a trailer
    SelfExtracting,  // ".exe": the restorer stub, one bzip2 stream, then a trailer
};

ImageKind ImageKindOf(const char* path);

// True when the path's last four characters equal `extension` (".img" and the like),
// compared without regard to case.
bool HasExtension(const char* path, const char* extension);

// True when the path lies on a floppy drive ("A:" or "B:" in either case, whichever drive
// is configured): an image read from or written to the disk it describes would destroy it.
bool IsOnFloppyDrive(const char* path);

// The kinds a job takes. A write reads ".img" and ".imz": an ".exe" carries the restorer
// stub, which writes its own image.
bool IsWritableImageKind(ImageKind kind);
// A read (or a conversion) makes any of the three.
bool IsCreatableImageKind(ImageKind kind);
// An emergency read makes only ".img": its zero-filled sectors and map follow the raw
// sectors, and a later read may take up what it could not read.
bool IsEmergencyImageKind(ImageKind kind);
