#pragma once
#include <stddef.h>
#include <stdint.h>

#include "engine/device/floppy_type.h"

// The parameter block of a FAT12 floppy's boot sector, the numbers the rest of the volume
// is laid out by, and the places that follow from them.
struct FatGeometry {
    uint32_t bytesPerSector = 512;
    uint32_t sectorsPerCluster = 0;
    uint32_t reservedSectors = 1;
    uint32_t fatCount = 2;
    uint32_t rootEntries = 0;
    uint32_t totalSectors = 0;
    uint32_t media = 0;
    uint32_t sectorsPerFat = 0;
    uint32_t sectorsPerTrack = 0;
    uint32_t heads = 0;
};

// Where things lie on a volume of a geometry, in sectors from the disk's start.
struct FatLayout {
    uint32_t firstFatSector = 0;
    uint32_t rootSector = 0;
    uint32_t rootSectors = 0;
    uint32_t dataSector = 0;
    uint32_t clusterCount = 0;  // clusters 2 .. clusterCount + 1 exist
    uint32_t clusterBytes = 0;
};

// The parameter block DOS writes when it formats a disk of `type` (media byte, sectors
// per cluster and per FAT, root entries), as mkfs.fat and mformat make them too.
FatGeometry StandardFatGeometry(const FloppyType& type);

// The geometry of a disk of `diskBytes` whose boot sector is `boot` (512 bytes): its
// parameter block when that is sound, else for the oldest formats (160, 180, 320 and 360
// kB), which have none, the standard one their FAT's first byte, the media byte, names.
// 0, or -1 when neither gives a FAT12 volume that fits the disk.
int ReadFatGeometry(const uint8_t* boot, size_t diskBytes, FatGeometry* geometry,
                    bool* fromMediaByte = nullptr);

// The places that follow from a sound geometry; false when it describes no FAT12
// volume (sizes zero or out of range, more than 4084 clusters, areas past the end).
bool LayOutFat(const FatGeometry& geometry, FatLayout* layout);
