#pragma once
#include <stdint.h>

// The most sectors any format has: a 2880 kB disk's 36 per track, two sides, 80 cylinders.
constexpr uint32_t kMostDiskSectors = 36 * 2 * 80;

// Which sectors of one disk could not be read. A plain value without allocations, so
// that a job can keep one on its worker thread's stack.
class BadSectorList {
public:
    // Every sector of a disk of `totalSectors` (cut to kMostDiskSectors) readable.
    void Reset(uint32_t totalSectors);

    void Mark(uint32_t sector, bool bad);
    bool IsBad(uint32_t sector) const { return sector < total_ && bad_[sector] != 0; }
    uint32_t Count() const { return count_; }
    uint32_t Total() const { return total_; }

private:
    uint32_t total_ = 0;
    uint32_t count_ = 0;
    uint8_t bad_[kMostDiskSectors] = {};
};
