#pragma once
#include <stdint.h>
#include <stdio.h>

#include "engine/device/floppy_type.h"
#include "engine/image/bzip2_stream.h"
#include "engine/image/image_trailer.h"
#include "engine/image/trailer_reader.h"
#include "engine/image/zip_image_reader.h"
#include "platform/user_message.h"

// How the image's sectors are held in its file, whatever its name says.
enum class ImageContainer {
    Raw,    // the sectors themselves
    Bzip2,  // Vorlix's ".imz" and ".exe": bzip2 streams (behind the stub in an ".exe")
    Zip,    // a ".zip", or another program's ".imz": the archive's one floppy-sized member
};

// What a job knows of the image it takes its sectors from before it reads them, all from
// one look at the file: its kind by its name, and what its trailer says. The job takes
// the format and the checksum from here, never from its front end, so that data whose
// checksum differs is refused however the job was started.
struct SourceImage {
    // By the name (any but a raw image's is compressed: a stub's own), and an ".imz" by
    // its first bytes.
    ImageContainer container = ImageContainer::Raw;
    bool endsWithTrailer = false;  // a block the reader recognises, of whatever contents
    int32_t sectorsPerTrack = 0;   // the trailer's sectors per track; 0 when it names none
    const FloppyType* format = nullptr;  // the format it names, with its sector count where
                                         // it has one; nullptr for none we know
    TrailerChecksum checksum;      // None for an image made before checksums
    char description[kDescriptionBufferSize] = "";
};

// Reads the trailer of `path` once, under the running program's `policy`, and shows
// nothing: the front end has already said what it makes of a newer trailer.
void ReadSourceImage(const char* path, const TrailerPolicy& policy, SourceImage* image);

// The format of the image at `path` as one look at its file tells, decoding nothing:
// what its trailer names, else the length of a raw image's data or of a ZIP archive's
// image. nullptr when that is no format we know.
const FloppyType* ApparentFormatOf(const char* path, const SourceImage& source);

// The container of the image at `path`: a compressed kind's first bytes tell a ZIP
// archive (an ".imz" another program made) from Vorlix's own bzip2 streams.
ImageContainer SourceContainerOf(const char* path, bool compressed);

// Outcomes of ImageInput::Open; each failure names what the job reports.
enum class InputOpen {
    Opened,
    NotOpened,     // the file
    DecompressorNotOpened,
    NoImageInExe,  // a self-extracting image without a compressed stream
    Refused,       // an archive without one image it can read: ImageInput::Refusal says why
};

enum class InputRead {
    Data,       // the whole image was read
    Failed,     // the file cannot be read, or the stream is damaged or cut short
    TooLarge,   // more data than the largest disk holds (IDS_IMAGE_TOO_LARGE)
    Cancelled,  // the user cancelled meanwhile; nothing is shown
};

// Asked between the chunks of a load, at least once every 64 kB of image data: a few
// kilobytes of bzip2 can take seconds to decode, and the user may give up on them. The
// write job answers from its host, the terminal from Ctrl-C.
class LoadCancel {
public:
    virtual bool Requested() = 0;

protected:
    ~LoadCancel() = default;
};

// The image a write job reads: the raw sectors of an ".img" (the file less its trailer
// when the trailer reader finds one, else the whole file), the bzip2 streams of an
// ".imz" or ".exe" image, which end before the trailer, or a ZIP archive's one image. Closes what is open when it goes
// out of scope. Shared with the restorer stub: no allocation of its own.
class ImageInput {
public:
    // The caller's buffer holds at least this many bytes.
    static constexpr unsigned kChunkSize = kBzip2ReadChunk;

    ImageInput() = default;
    ~ImageInput() { Close(); }
    ImageInput(const ImageInput&) = delete;
    ImageInput& operator=(const ImageInput&) = delete;

    // Opens `sourcePath` for reading; a compressed source ending in ".exe" is searched
    // for its stream first.
    InputOpen Open(const char* sourcePath, bool compressed);
    // The same for a source whose trailer has been read already (ReadSourceImage).
    InputOpen Open(const char* sourcePath, const SourceImage& source);

    // Reads the whole image into `buffer`, which holds `capacity` bytes (at least
    // kChunkSize). `*found` is the image's length in bytes, also when it is longer than
    // the buffer: a stream is then decoded on and only counted, and what the buffer
    // holds is no image. No disk holds more than kLargestFloppyBytes, so nothing is
    // decoded past them: TooLarge, `*found` then beyond them (a raw image that long is
    // not read at all). Failed when the file cannot be read or the stream is damaged or
    // cut short anywhere. `cancel`, unless nullptr, is asked before each chunk;
    // Cancelled once it says so.
    InputRead Load(char* buffer, uint32_t capacity, uint32_t* found, LoadCancel* cancel = nullptr);

    void Close();

    // After Open: the image's length as the file declares it before any of it is read,
    // a raw image's data or a ZIP archive's member; -1 for a bzip2 stream, whose length
    // only decoding tells.
    long DeclaredBytes() const;

    // After Open answered Refused: the message, whose text this input holds until its
    // next Open.
    UserMessage Refusal() const { return {refusalId_, MessageStyle::Error, refusalText_}; }

private:
    InputRead LoadRaw(char* buffer, uint32_t capacity, uint32_t* found, LoadCancel* cancel);
    InputRead LoadCompressed(char* buffer, uint32_t capacity, uint32_t* found, LoadCancel* cancel);
    InputRead LoadZip(char* buffer, uint32_t capacity, uint32_t* found, LoadCancel* cancel);
    InputOpen OpenZip(const char* sourcePath);

    FILE* file_ = nullptr;
    Bzip2Reader decompressor_;
    ZipImageReader zip_;
    ImageContainer container_ = ImageContainer::Raw;
    unsigned refusalId_ = 0;
    char refusalText_[256] = "";
    long rawBytes_ = -1;  // a raw image's data: the file less its trailer; -1 unknown
};

// The message of an Open of `sourcePath` that answered `result` (not Opened): what a job
// and the image check show.
UserMessage InputOpenMessage(const ImageInput& input, InputOpen result, const char* sourcePath);
