#pragma once
#include <stdint.h>

// Where a logical sector lies on a two-sided disk of `sectorsPerTrack`: what a user can
// find again with a disk editor or on the drive. Sector numbers on a track start at 1.
struct SectorAddress {
    uint32_t cylinder;
    uint32_t head;
    uint32_t sector;
};

inline SectorAddress AddressOfSector(uint32_t logicalSector, uint32_t sectorsPerTrack) {
    if (sectorsPerTrack == 0) return SectorAddress{0, 0, 0};
    const uint32_t track = logicalSector / sectorsPerTrack;
    return SectorAddress{track / 2, track % 2, logicalSector % sectorsPerTrack + 1};
}
