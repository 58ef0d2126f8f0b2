#pragma once
#include <stdint.h>

// Where a logical sector lies on a two-sided disk, as a user finds it in a disk tool:
// cylinders and heads from 0, sectors within a track from 1.
struct DiskAddress {
    uint32_t cylinder;
    uint32_t head;
    uint32_t sector;
};

inline DiskAddress AddressOfSector(uint32_t logicalSector, uint32_t sectorsPerTrack) {
    return DiskAddress{logicalSector / (2 * sectorsPerTrack),
                       (logicalSector / sectorsPerTrack) % 2,
                       logicalSector % sectorsPerTrack + 1};
}
