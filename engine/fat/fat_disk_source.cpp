#include "engine/fat/fat_disk_source.h"

#include "engine/fat/fat_text.h"
#include "engine/image/bad_sector_map.h"
#include "resources/string_ids.h"

namespace {

int Tell(MessageSink& sink, unsigned id, const std::string& text) {
    sink.Show(UserMessage{id, MessageStyle::Error, text.c_str()});
    return -1;
}

}  // namespace

int OpenFatVolume(FatVolume& volume, const DiskBytes& disk, bool withDeleted, const std::string& source,
                  MessageSink& sink) {
    if (volume.Open(disk.Bytes(), disk.size, withDeleted) == FatOpen::Opened) return 0;
    return Tell(sink, IDS_FAT_NO_VOLUME, source);
}

void MarkMappedSectors(FatVolume& volume, const std::string& image, size_t diskBytes) {
    char mapPath[kBadSectorMapPathSize];
    if (!BadSectorMapPath(image.c_str(), mapPath)) return;
    BadSectorList bad;
    if (ReadBadSectorMap(mapPath, static_cast<uint32_t>(diskBytes / 512), bad) == 0) volume.MarkBadSectors(bad);
}

int TellFatDamage(const FatVolume& volume, MessageSink& sink, FatDamageDetail detail) {
    for (const FatDamage& damage : volume.Damage()) {
        if (detail == FatDamageDetail::VolumeOnly && !damage.path.empty()) continue;
        UserMessage message{FatDamageMessage(damage.problem), MessageStyle::Warning, damage.path.c_str()};
        message.number = static_cast<long>(damage.cluster);
        sink.Show(message);
    }
    if (volume.Damage().empty()) return 0;
    UserMessage summary{IDS_FAT_VOLUME_DAMAGED, MessageStyle::Warning};
    summary.number = static_cast<long>(volume.Damage().size());
    sink.Show(summary);
    return -1;
}
