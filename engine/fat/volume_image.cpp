#include "engine/fat/volume_image.h"

#include "engine/image/image_check.h"
#include "engine/image/image_kind.h"
#include "engine/image/image_trailer.h"
#include "engine/image/sha256_digest.h"
#include "resources/string_ids.h"

namespace {

// A raw image that is exactly one disk: its bytes as they are on the disk.
int MapWholeDisk(const char* path, DiskBytes* disk) {
    if (disk->mapped.Map(path) != 0 || FindFloppyTypeOfSize(disk->mapped.Size()) == nullptr) return -1;
    disk->size = disk->mapped.Size();
    return 0;
}

}  // namespace

int LoadVolumeImage(const char* path, MessageSink& sink, LoadCancel* cancel, DiskBytes* disk) {
    const ImageKind kind = ImageKindOf(path);
    if (kind == ImageKind::None) {
        sink.Show(UserMessage{IDS_NOT_AN_IMAGE_FILE, MessageStyle::Error, path});
        return -1;
    }
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
    if (read != InputRead::Data) return TellLoadFailure(read, sink);
    if (WholeDiskFormat(found, sectorsPerTrack, totalSectors, sink) == nullptr) return -1;
    disk->size = found;
    if (stored.state == TrailerChecksum::None) return 0;
    char computed[Sha256Digest::kHexLength + 1];
    Sha256Hex(disk->data.get(), disk->size, computed);
    return ChecksumHolds(stored, computed, sink) ? 0 : -1;
}
