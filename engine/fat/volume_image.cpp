#include "engine/fat/volume_image.h"

#include <string.h>

#include "engine/image/image_kind.h"
#include "engine/image/image_trailer.h"
#include "engine/image/sha256_digest.h"
#include "resources/string_ids.h"

namespace {

int Fail(MessageSink& sink, unsigned id, const char* text = nullptr, long number = 0, long second = 0) {
    UserMessage message{id, MessageStyle::Error, text};
    message.number = number;
    message.secondNumber = second;
    sink.Show(message);
    return -1;
}

// The disk size that data of no format's size falls short of, for the message.
uint32_t NearestDiskBytes(uint32_t bytes) {
    uint32_t count = 0;
    const FloppyType* types = FloppyTypes(&count);
    for (uint32_t i = 0; i < count; ++i) {
        if (bytes <= types[i].totalBytes) return types[i].totalBytes;
    }
    return kLargestFloppyBytes;
}

// A raw image that is exactly one disk: its bytes as they are on the disk.
int MapWholeDisk(const char* path, DiskBytes* disk) {
    if (disk->mapped.Map(path) != 0 || FindFloppyTypeOfSize(disk->mapped.Size()) == nullptr) return -1;
    disk->size = disk->mapped.Size();
    return 0;
}

}  // namespace

int LoadVolumeImage(const char* path, MessageSink& sink, LoadCancel* cancel, DiskBytes* disk) {
    const ImageKind kind = ImageKindOf(path);
    if (kind == ImageKind::None) return Fail(sink, IDS_NOT_AN_IMAGE_FILE, path);
    ImageInput input;
    const InputOpen opened = input.Open(path, kind != ImageKind::Raw);
    if (opened != InputOpen::Opened) {
        sink.Show(InputOpenMessage(input, opened, path));
        return -1;
    }
    char description[kDescriptionBufferSize];
    int sectorsPerTrack = 0;
    int totalSectors = 0;
    TrailerChecksum stored;
    const int trailer = ReadImageTrailer(path, sink, description, &sectorsPerTrack, &stored, nullptr, &totalSectors);
    if (trailer == kTrailerNewerVersion) return -1;  // its message is shown
    disk->data.reset();
    if (kind == ImageKind::Raw && trailer == kTrailerMissing && MapWholeDisk(path, disk) == 0) return 0;
    disk->data.reset(new uint8_t[kLargestFloppyBytes]);
    disk->size = 0;
    uint32_t found = 0;
    const InputRead read = input.Load(reinterpret_cast<char*>(disk->data.get()), kLargestFloppyBytes, &found, cancel);
    if (read == InputRead::Cancelled) return kVolumeImageCancelled;
    if (read == InputRead::TooLarge) return Fail(sink, IDS_IMAGE_TOO_LARGE, nullptr, static_cast<long>(kLargestFloppyBytes));
    if (read != InputRead::Data) return Fail(sink, IDS_IMAGE_READ_FAILED);
    const FloppyType* named = FindFloppyTypeOfTrailer(sectorsPerTrack, totalSectors);
    const FloppyType* format = named != nullptr ? named : FindFloppyTypeOfSize(found);
    const uint32_t needed = format != nullptr ? format->totalBytes : NearestDiskBytes(found);
    if (found != needed) {
        return Fail(sink, IDS_IMAGE_NOT_WHOLE_DISK, nullptr, static_cast<long>(found), static_cast<long>(needed));
    }
    disk->size = found;
    if (stored.state == TrailerChecksum::None) return 0;
    char computed[Sha256Digest::kHexLength + 1];
    Sha256Hex(disk->data.get(), disk->size, computed);
    if (stored.state == TrailerChecksum::Malformed || memcmp(stored.hex, computed, Sha256Digest::kHexLength) != 0) {
        return Fail(sink, IDS_IMAGE_CHECKSUM_MISMATCH);
    }
    return 0;
}
