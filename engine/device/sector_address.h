#pragma once
#include <stdint.h>

// Where a logical sector lies on a disk of `sectorsPerTrack` and `heads` (a single-sided
// disk has no head 1): what a user can find again with a disk editor or on the drive.
// Sector numbers on a track start at 1.
struct SectorAddress {
    uint32_t cylinder;
    uint32_t head;
    uint32_t sector;
};

inline SectorAddress AddressOfSector(uint32_t logicalSector, uint32_t sectorsPerTrack,
                                     uint32_t heads) {
    if (sectorsPerTrack == 0 || heads == 0) return SectorAddress{0, 0, 0};
    const uint32_t track = logicalSector / sectorsPerTrack;
    return SectorAddress{track / heads, track % heads, logicalSector % sectorsPerTrack + 1};
}
