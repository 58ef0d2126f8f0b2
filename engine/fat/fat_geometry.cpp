#include "engine/fat/fat_geometry.h"

#include "engine/fat/fat_bytes.h"

namespace {

// What DOS puts in each format's parameter block: media byte, sectors per cluster, root
// entries. The sectors per FAT follow from them.
struct FormatChoice {
    uint32_t kilobytes;
    uint32_t media;
    uint32_t sectorsPerCluster;
    uint32_t rootEntries;
};

const FormatChoice kFormatChoices[] = {
    {160, 0xFE, 1, 64},   {180, 0xFC, 1, 64},   {320, 0xFF, 2, 112},
    {360, 0xFD, 2, 112},  {720, 0xF9, 2, 112},  {1200, 0xF9, 1, 224},
    {1440, 0xF0, 1, 224}, {1680, 0xF0, 1, 224}, {2880, 0xF0, 2, 240},
};

constexpr uint32_t kMaxFat12Clusters = 4084;

// The fewest FAT sectors that hold an entry for every cluster they leave room for.
uint32_t SectorsPerFat(const FatGeometry& geometry) {
    const uint32_t rootSectors = (geometry.rootEntries * 32 + geometry.bytesPerSector - 1) / geometry.bytesPerSector;
    for (uint32_t sectors = 1;; ++sectors) {
        const uint32_t used = geometry.reservedSectors + geometry.fatCount * sectors + rootSectors;
        const uint32_t clusters = (geometry.totalSectors - used) / geometry.sectorsPerCluster;
        if ((clusters + 2) * 3 / 2 + 1 <= sectors * geometry.bytesPerSector) return sectors;
    }
}

bool PowerOfTwo(uint32_t value) {
    return value != 0 && (value & (value - 1)) == 0;
}

// The parameter block as the boot sector holds it, or false when it is no FAT12 one.
bool ParameterBlockOf(const uint8_t* boot, size_t diskBytes, FatGeometry* geometry) {
    FatGeometry found;
    found.bytesPerSector = Le16(boot + 11);
    found.sectorsPerCluster = boot[13];
    found.reservedSectors = Le16(boot + 14);
    found.fatCount = boot[16];
    found.rootEntries = Le16(boot + 17);
    found.totalSectors = Le16(boot + 19);
    if (found.totalSectors == 0) found.totalSectors = Le32(boot + 32);
    found.media = boot[21];
    found.sectorsPerFat = Le16(boot + 22);
    found.sectorsPerTrack = Le16(boot + 24);
    found.heads = Le16(boot + 26);
    if (found.bytesPerSector != 512 || found.media < 0xF0) return false;
    if (static_cast<uint64_t>(found.totalSectors) * 512 > diskBytes) return false;
    FatLayout layout;
    if (!LayOutFat(found, &layout)) return false;
    *geometry = found;
    return true;
}

}  // namespace

FatGeometry StandardFatGeometry(const FloppyType& type) {
    FatGeometry geometry;
    for (const FormatChoice& choice : kFormatChoices) {
        if (choice.kilobytes * 1024 != type.totalBytes) continue;
        geometry.media = choice.media;
        geometry.sectorsPerCluster = choice.sectorsPerCluster;
        geometry.rootEntries = choice.rootEntries;
    }
    geometry.totalSectors = TotalSectors(type);
    geometry.sectorsPerTrack = type.sectorsPerTrack;
    geometry.heads = type.heads;
    if (geometry.sectorsPerCluster != 0) geometry.sectorsPerFat = SectorsPerFat(geometry);
    return geometry;
}

int ReadFatGeometry(const uint8_t* boot, size_t diskBytes, FatGeometry* geometry, bool* fromMediaByte) {
    if (fromMediaByte != nullptr) *fromMediaByte = false;
    if (diskBytes < 1024) return -1;
    if (ParameterBlockOf(boot, diskBytes, geometry)) return 0;
    // DOS 1 disks: the FAT's first byte, right after the boot sector, names the format.
    const uint8_t media = boot[512];
    if (boot[513] != 0xFF || boot[514] != 0xFF) return -1;
    uint32_t count = 0;
    const FloppyType* types = FloppyTypes(&count);
    for (uint32_t i = 0; i < count; ++i) {
        if (types[i].totalBytes > 360 * 1024 || types[i].totalBytes > diskBytes) continue;
        const FatGeometry standard = StandardFatGeometry(types[i]);
        if (standard.media != media) continue;
        *geometry = standard;
        if (fromMediaByte != nullptr) *fromMediaByte = true;
        return 0;
    }
    return -1;
}

bool LayOutFat(const FatGeometry& geometry, FatLayout* layout) {
    if (geometry.bytesPerSector != 512 || !PowerOfTwo(geometry.sectorsPerCluster) ||
        geometry.sectorsPerCluster > 128 || geometry.reservedSectors == 0 ||
        geometry.fatCount == 0 || geometry.fatCount > 4 || geometry.rootEntries == 0 ||
        geometry.sectorsPerFat == 0 || geometry.totalSectors == 0) {
        return false;
    }
    FatLayout out;
    out.firstFatSector = geometry.reservedSectors;
    out.rootSector = out.firstFatSector + geometry.fatCount * geometry.sectorsPerFat;
    out.rootSectors = (geometry.rootEntries * 32 + 511) / 512;
    out.dataSector = out.rootSector + out.rootSectors;
    if (out.dataSector >= geometry.totalSectors) return false;
    out.clusterCount = (geometry.totalSectors - out.dataSector) / geometry.sectorsPerCluster;
    out.clusterBytes = geometry.sectorsPerCluster * 512;
    // More clusters is FAT16. A FAT too short for its clusters leaves the ones it has no
    // entry for unusable, never read past.
    const uint32_t entries = geometry.sectorsPerFat * 512 * 2 / 3;
    if (entries < 3) return false;
    if (out.clusterCount > entries - 2) out.clusterCount = entries - 2;
    if (out.clusterCount == 0 || out.clusterCount > kMaxFat12Clusters) return false;
    *layout = out;
    return true;
}
