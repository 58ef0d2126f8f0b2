#include "engine/image/image_input.h"

#include <limits.h>
#include <string.h>

#include "engine/image/compressed_stream.h"
#include "engine/image/image_kind.h"
#include "engine/image/image_trailer.h"
#include "engine/image/trailer_reader.h"
#include "resources/string_ids.h"

namespace {

// The length of an open file, -1 when it cannot be told. Where long has 32 bits, a file
// beyond 2 GB has an end that cannot be told as a long: LONG_MAX stands for it, more
// than any disk all the same.
long FileLength(FILE* file) {
    if (fseek(file, 0, SEEK_END) != 0) {
        return -1;
    }
    long length = ftell(file);
    if (length < 0) {
        length = LONG_MAX;
    }
    return fseek(file, 0, SEEK_SET) == 0 ? length : -1;
}

// The message IDs of the archive's refusals, by ZipOpen.
unsigned ZipRefusalId(ZipOpen refusal) {
    switch (refusal) {
    case ZipOpen::NoImage:
        return IDS_ZIP_NO_IMAGE;
    case ZipOpen::SeveralImages:
        return IDS_ZIP_SEVERAL_IMAGES;
    case ZipOpen::Encrypted:
        return IDS_ZIP_ENCRYPTED;
    case ZipOpen::OtherMethod:
        return IDS_ZIP_METHOD;
    default:
        return IDS_IMAGE_READ_FAILED;  // as for a damaged stream
    }
}

}  // namespace

ImageContainer SourceContainerOf(const char* path, bool compressed) {
    const ImageKind kind = ImageKindOf(path);
    if (!compressed) {
        return ImageContainer::Raw;
    }
    if (kind != ImageKind::Compressed) {
        return kind == ImageKind::Zip ? ImageContainer::Zip : ImageContainer::Bzip2;
    }
    char first[4] = {};
    FILE* file = fopen(path, "rb");
    const bool read = file != nullptr && fread(first, 1, sizeof first, file) == sizeof first;
    if (file != nullptr) fclose(file);  // NOLINT(cert-err33-c): read only
    return read && memcmp(first, "PK\3\4", sizeof first) == 0 ? ImageContainer::Zip
                                                              : ImageContainer::Bzip2;
}

void ReadSourceImage(const char* path, const TrailerPolicy& policy, SourceImage* image) {
    *image = SourceImage{};
    image->container = SourceContainerOf(path, ImageKindOf(path) != ImageKind::Raw);
    int sectorsPerTrack = 0;
    int totalSectors = 0;
    const int result = ReadTrailerFile(path, policy, image->description, &sectorsPerTrack,
                                       &image->checksum, nullptr, &totalSectors);
    // Whatever the reader makes of the trailer's contents, a block it recognises is no
    // sector data.
    image->endsWithTrailer = result != kTrailerMissing && result != kTrailerUnreadable;
    image->sectorsPerTrack = sectorsPerTrack;
    image->format = FindFloppyTypeOfTrailer(sectorsPerTrack, totalSectors);
}

// Only the main program writes raw images; its policy it is.
InputOpen ImageInput::Open(const char* sourcePath, bool compressed) {
    SourceImage source;
    if (!compressed) {
        ReadSourceImage(sourcePath, kProgramTrailerPolicy, &source);
    }
    source.container = SourceContainerOf(sourcePath, compressed);
    return Open(sourcePath, source);
}

InputOpen ImageInput::Open(const char* sourcePath, const SourceImage& source) {
    Close();
    container_ = source.container;
    file_ = fopen(sourcePath, "rb");
    if (file_ == nullptr) {
        return InputOpen::NotOpened;
    }
    if (container_ == ImageContainer::Zip) {
        return OpenZip(sourcePath);
    }
    if (container_ == ImageContainer::Raw) {
        rawBytes_ = FileLength(file_);
        if (rawBytes_ > 0 && source.endsWithTrailer) {
            // A file shorter than a trailer that starts like one is all trailer.
            rawBytes_ = rawBytes_ > kImageTrailerSize ? rawBytes_ - kImageTrailerSize : 0;
        }
        return InputOpen::Opened;
    }
    if (HasExtension(sourcePath, ".exe") && FindCompressedStream(file_) != 0) {
        Close();
        return InputOpen::NoImageInExe;
    }
    if (decompressor_.Open(file_) != 0) {
        Close();
        return InputOpen::DecompressorNotOpened;
    }
    return InputOpen::Opened;
}

// The archive is read through minizip's own file, by its name.
InputOpen ImageInput::OpenZip(const char* sourcePath) {
    fclose(file_);  // NOLINT(cert-err33-c): read only
    file_ = nullptr;
    const ZipOpen opened = zip_.Open(sourcePath, refusalText_, sizeof refusalText_);
    if (opened == ZipOpen::Opened) {
        return InputOpen::Opened;
    }
    refusalId_ = ZipRefusalId(opened);
    return InputOpen::Refused;
}

static_assert(ImageInput::kChunkSize <= 65536, "cancel is asked at least every 64 kB");

InputRead ImageInput::Load(char* buffer, uint32_t capacity, uint32_t* found, LoadCancel* cancel) {
    *found = 0;
    if (capacity < kChunkSize) {
        return InputRead::Failed;
    }
    if (container_ == ImageContainer::Zip) {
        return LoadZip(buffer, capacity, found, cancel);
    }
    if (file_ == nullptr) {
        return InputRead::Failed;
    }
    return container_ == ImageContainer::Bzip2 ? LoadCompressed(buffer, capacity, found, cancel)
                                               : LoadRaw(buffer, capacity, found, cancel);
}

// The size is known before reading: an image of the wrong size is not read at all.
InputRead ImageInput::LoadRaw(char* buffer, uint32_t capacity, uint32_t* found, LoadCancel* cancel) {
    if (rawBytes_ < 0) {
        return InputRead::Failed;
    }
    const unsigned long long length = static_cast<unsigned long long>(rawBytes_);
    *found = length > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<uint32_t>(length);
    if (length > kLargestFloppyBytes) {
        return InputRead::TooLarge;
    }
    const uint32_t wanted = *found < capacity ? *found : capacity;
    for (uint32_t done = 0; done < wanted; done += kChunkSize) {
        if (cancel != nullptr && cancel->Requested()) {
            return InputRead::Cancelled;
        }
        const size_t chunk = wanted - done < kChunkSize ? wanted - done : kChunkSize;
        if (fread(buffer + done, 1, chunk, file_) != chunk) {
            return InputRead::Failed;
        }
    }
    return InputRead::Data;
}

namespace {

// One step of a decoder: a chunk delivered, the end reached cleanly, or anything else.
enum class ChunkStep { Data, End, Failed };

// Decodes chunk after chunk through `next` into `buffer`. A few kilobytes of bzip2 or
// deflate may decode to gigabytes: the decoding stops as soon as the data is more than
// any disk, and past the buffer's end the bytes are only counted (the image is refused
// anyway). A damaged or truncated stream, a bad CRC-32 or a cut archive is as unreadable
// as a failing file: the image on the disk would be incomplete.
template <typename NextChunk>
InputRead LoadDecoded(char* buffer, uint32_t capacity, uint32_t* found, LoadCancel* cancel,
                      NextChunk next) {
    constexpr uint32_t kChunk = ImageInput::kChunkSize;
    uint32_t total = 0;
    for (;;) {
        if (cancel != nullptr && cancel->Requested()) {
            return InputRead::Cancelled;
        }
        const uint32_t room = total < capacity ? capacity - total : 0;
        char* to = room != 0 ? buffer + total : buffer;
        uint32_t got = 0;
        switch (next(to, room != 0 && room < kChunk ? room : kChunk, &got)) {
        case ChunkStep::Data:
            total += got;
            if (total > kLargestFloppyBytes) {
                *found = total;
                return InputRead::TooLarge;
            }
            break;
        case ChunkStep::End:
            *found = total;
            return InputRead::Data;
        case ChunkStep::Failed:
            return InputRead::Failed;
        }
    }
}

}  // namespace

InputRead ImageInput::LoadCompressed(char* buffer, uint32_t capacity, uint32_t* found,
                                     LoadCancel* cancel) {
    return LoadDecoded(buffer, capacity, found, cancel, [this](char* to, uint32_t size, uint32_t* got) {
        int delivered = 0;
        const Bzip2ReadStatus status = decompressor_.Read(to, static_cast<int>(size), &delivered);
        *got = static_cast<uint32_t>(delivered);
        return status == Bzip2ReadStatus::Data  ? ChunkStep::Data
               : status == Bzip2ReadStatus::End ? ChunkStep::End
                                                : ChunkStep::Failed;
    });
}

// The member is of a floppy's size, and minizip inflates no more than that; the bound
// stands all the same, as for a bzip2 stream.
InputRead ImageInput::LoadZip(char* buffer, uint32_t capacity, uint32_t* found, LoadCancel* cancel) {
    return LoadDecoded(buffer, capacity, found, cancel, [this](char* to, uint32_t size, uint32_t* got) {
        unsigned delivered = 0;
        const ZipRead status = zip_.Read(to, size, &delivered);
        *got = delivered;
        return status == ZipRead::Data  ? ChunkStep::Data
               : status == ZipRead::End ? ChunkStep::End
                                        : ChunkStep::Failed;
    });
}

void ImageInput::Close() {
    zip_.Close();
    decompressor_.Close();
    if (file_ != nullptr) {
        fclose(file_);  // NOLINT(cert-err33-c): read only; nothing is lost when closing fails
        file_ = nullptr;
    }
    rawBytes_ = -1;
}

long ImageInput::DeclaredBytes() const {
    switch (container_) {
    case ImageContainer::Raw:
        return rawBytes_;
    case ImageContainer::Zip:
        return static_cast<long>(zip_.MemberBytes());
    case ImageContainer::Bzip2:
        break;
    }
    return -1;
}

const FloppyType* ApparentFormatOf(const char* path, const SourceImage& source) {
    if (source.format != nullptr) return source.format;
    ImageInput input;
    if (source.container == ImageContainer::Bzip2 || input.Open(path, source) != InputOpen::Opened) {
        return nullptr;
    }
    const long bytes = input.DeclaredBytes();
    return bytes > 0 ? FindFloppyTypeOfSize(static_cast<uint64_t>(bytes)) : nullptr;
}

UserMessage InputOpenMessage(const ImageInput& input, InputOpen result, const char* sourcePath) {
    switch (result) {
    case InputOpen::Refused:
        return input.Refusal();
    case InputOpen::NoImageInExe:
        return {IDS_EXE_HAS_NO_IMAGE, MessageStyle::Error};
    case InputOpen::DecompressorNotOpened:
        return {IDS_DECOMPRESSOR_NOT_OPENED, MessageStyle::Error, sourcePath};
    default:
        return {IDS_UNABLE_TO_OPEN, MessageStyle::Error, sourcePath};
    }
}
