#include "engine/image/bad_sector_list.h"

#include <string.h>

void BadSectorList::Reset(uint32_t totalSectors) {
    total_ = totalSectors < kMostDiskSectors ? totalSectors : kMostDiskSectors;
    count_ = 0;
    memset(bad_, 0, sizeof bad_);
}

void BadSectorList::Mark(uint32_t sector, bool bad) {
    if (sector >= total_ || (bad_[sector] != 0) == bad) return;
    bad_[sector] = bad ? 1 : 0;
    if (bad) {
        ++count_;
    } else {
        --count_;
    }
}
