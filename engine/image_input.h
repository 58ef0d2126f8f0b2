#pragma once
#include <stdio.h>

#include "engine/bzip2_stream.h"

// Outcomes of ImageInput::Open; each failure names what the job reports.
enum class InputOpen {
    Opened,
    NotOpened,     // the file
    DecompressorNotOpened,
    NoImageInExe,  // a self-extracting image without a compressed stream
};

enum class InputRead {
    Data,    // `count` bytes, possibly 0 at the end
    Failed,  // the file cannot be read, or the stream is damaged or cut short
};

// The image a write job reads: the raw sectors (trailer included), or the bzip2 stream
// of an ".imz" or ".exe" image, which ends before the trailer. Closes what is open when
// it goes out of scope. Shared with the restorer stub: no allocation of its own.
class ImageInput {
public:
    // Chunks are at most this long; the caller's buffer holds as many bytes.
    static constexpr unsigned kChunkSize = kBzip2ReadChunk;

    ImageInput() = default;
    ~ImageInput() { Close(); }
    ImageInput(const ImageInput&) = delete;
    ImageInput& operator=(const ImageInput&) = delete;

    // Opens `sourcePath` for reading; a compressed source ending in ".exe" is searched
    // for its stream first.
    InputOpen Open(const char* sourcePath, bool compressed);

    // The next chunk of up to kChunkSize bytes; `*count` is 0 when the image has ended.
    InputRead Read(char* buffer, unsigned* count);

    void Close();

private:
    FILE* file_ = nullptr;
    Bzip2Reader decompressor_;
    bool compressed_ = false;
};
