#pragma once

// An image's kind follows from the last four characters of its name alone. Only an
// ".imz" is told apart by its first bytes too: other programs' ".imz" is a ZIP archive
// (image_input's container).
enum class ImageKind {
    None,            // not an image name
    Raw,             // ".img": the sectors, then a trailer unless made in compatible mode;
                     // ".ima", ".vfd", ".flp": other programs' raw images, the sectors alone
    Compressed,      // ".imz": one bzip2 stream, then a trailer
    SelfExtracting,  // ".exe": the restorer stub, one bzip2 stream, then a trailer
    Zip,             // ".zip": an archive with the image as one member; read, never made
};

ImageKind ImageKindOf(const char* path);

// The raw names other programs use (WinImage, Virtual PC and VirtualBox, VMware), in the
// order the save dialog offers them.
inline constexpr const char* kBareRawExtensions[] = {".ima", ".vfd", ".flp"};

// The one of them that `path` ends in, or nullptr.
const char* BareRawExtensionOf(const char* path);

// True for those names: an image read to one holds exactly the disk's bytes, as those
// programs expect, and no trailer.
bool IsBareRawName(const char* path);

// Whether a read to `path` appends a trailer: not for a bare raw name, nor for an ".img"
// made in compatible mode.
bool TakesTrailer(const char* path, bool compatible);

// True when the path's last four characters equal `extension` (".img" and the like),
// compared without regard to case.
bool HasExtension(const char* path, const char* extension);

// True when the path lies on a floppy drive ("A:" or "B:" in either case, whichever drive
// is configured): an image read from or written to the disk it describes would destroy it.
bool IsOnFloppyDrive(const char* path);

// The kinds a job takes. A write reads raw images, ".imz" and ".zip": an ".exe" carries
// the restorer stub, which writes its own image.
bool IsWritableImageKind(ImageKind kind);
// A read (or a conversion) makes any kind but a ZIP archive.
bool IsCreatableImageKind(ImageKind kind);
// An emergency read makes only ".img": its zero-filled sectors and map follow the raw
// sectors, and a later read may take up what it could not read.
bool IsEmergencyImageKind(ImageKind kind);
