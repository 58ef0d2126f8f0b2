// The FAT12 reader over any disk: parameter blocks, FATs, folders and long names as a
// hostile disk may hold them. The first input byte chooses the format (and whether
// deleted entries are listed); the rest is the disk's beginning, the remainder zeros.
// Every entry's contents are read, never more than its size, and nothing hangs.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

#include "engine/fat/fat_volume.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    uint32_t count = 0;
    const FloppyType* types = FloppyTypes(&count);
    const FloppyType& type = types[data[0] % count];
    std::vector<uint8_t> disk(type.totalBytes, 0);
    memcpy(disk.data(), data + 1, size - 1 < disk.size() ? size - 1 : disk.size());

    FatVolume volume;
    if (volume.Open(disk.data(), disk.size(), (data[0] & 0x80) != 0) != FatOpen::Opened) return 0;
    BadSectorList bad;
    bad.Reset(TotalSectors(type));
    bad.Mark(data[0] % TotalSectors(type), true);
    volume.MarkBadSectors(bad);
    if (volume.Info().freeBytes > volume.Info().bytes) abort();
    std::vector<uint8_t> contents;
    for (const FatEntry& entry : volume.Entries()) {
        volume.ReadContents(entry, &contents);
        if (contents.size() > entry.size) abort();
        if (entry.path.empty()) abort();
    }
    return 0;
}
