#pragma once
#include <stdint.h>

#include "engine/device/floppy_device.h"

// A job's way through the disk from sector 0, counted as its device counts
// (FloppyDevice::KeepsPosition): a device with a position adds up the bytes each transfer
// moved; one without advances a start sector and takes start sector x 512 for the bytes
// done. All in 32-bit unsigned arithmetic.
class TransferCursor {
public:
    explicit TransferCursor(bool keepsPosition) : keepsPosition_(keepsPosition) {}

    // The first sector of the next transfer: where the device stands after the bytes
    // done so far, or the start sector.
    uint32_t NextSector() const {
        return keepsPosition_ ? bytes_ / FloppyDevice::kSectorSize : startSector_;
    }

    // One transfer of `bytes` (whole sectors) has been dealt with.
    void Advance(uint32_t bytes) {
        if (keepsPosition_) {
            bytes_ += bytes;
        } else {
            startSector_ += bytes / FloppyDevice::kSectorSize;
            bytes_ = startSector_ * FloppyDevice::kSectorSize;
        }
    }

    uint32_t Bytes() const { return bytes_; }

    // Percent of `totalBytes` and whole kilobytes done, remainders dropped.
    uint32_t Percent(uint32_t totalBytes) const { return bytes_ * 100 / totalBytes; }
    uint32_t Kilobytes() const { return bytes_ / 1024; }

private:
    bool keepsPosition_;
    uint32_t bytes_ = 0;
    uint32_t startSector_ = 0;
};
