#pragma once
#include <stddef.h>
#include <stdint.h>

// Other programs hand out floppy images inside ZIP archives (and some call such an
// archive ".imz"). The image is the archive's one member of a floppy's size, stored or
// deflated; anything else is refused with the reason its message names. Nothing Vorlix
// writes is a ZIP. The restorer stub links a stand-in that opens nothing
// (stub/zip_image_stand_in.cpp): it only ever reads its own bzip2 image.

// Outcomes of ZipImageReader::Open; a refusal's text is the value its message names.
enum class ZipOpen {
    Opened,
    Damaged,        // no archive the reader can follow, or cut short (IDS_IMAGE_READ_FAILED)
    NoImage,        // no member of a floppy's size; the text is the archive's path
    SeveralImages,  // the text is their names, joined by ", "
    Encrypted,      // the text is the member's name
    OtherMethod,    // neither stored nor deflated; the text names the method
};

enum class ZipRead {
    Data,    // bytes were delivered
    End,     // the whole member was read and its CRC-32 matched
    Failed,  // damaged or cut short, a CRC-32 that differs, or fewer bytes than it declared
};

class ZipImageReader {
public:
    ZipImageReader() = default;
    ~ZipImageReader() { Close(); }
    ZipImageReader(const ZipImageReader&) = delete;
    ZipImageReader& operator=(const ZipImageReader&) = delete;

    // Opens the archive at `path` and picks its image; `text` (of `size` bytes) then
    // holds the refusal's value, cut short where it does not fit.
    ZipOpen Open(const char* path, char* text, size_t size);
    // Inflates up to `size` bytes of the member into `buffer`. After the member's last
    // bytes the next call answers End or Failed.
    ZipRead Read(char* buffer, unsigned size, unsigned* got);
    void Close();
    // The picked member's size as its directory entry declares it; 0 before an Open.
    uint32_t MemberBytes() const { return memberBytes_; }

private:
    ZipOpen PickImage(const char* path, char* text, size_t size);
    ZipOpen OpenPicked(char* text, size_t size);

    void* archive_ = nullptr;  // minizip's unzFile
    bool memberOpen_ = false;
    uint32_t memberBytes_ = 0;  // what its directory entry declares
    uint32_t readBytes_ = 0;
};
