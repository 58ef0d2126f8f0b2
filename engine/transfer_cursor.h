#pragma once
#include <stdint.h>

#include "engine/device_method.h"
#include "engine/floppy_device.h"

// A job's way through the disk from sector 0, counted as its device method counts:
// NT adds up the bytes each transfer moved; VWIN32 advances a start sector and takes
// start sector x 512 for the bytes done. All in 32-bit unsigned arithmetic.
class TransferCursor {
public:
    explicit TransferCursor(DeviceMethod method) : method_(method) {}

    // The first sector of the next transfer: where the NT handle stands after the bytes
    // done so far, or the VWIN32 start sector.
    uint32_t NextSector() const {
        return method_ == DeviceMethod::Nt ? bytes_ / FloppyDevice::kSectorSize : startSector_;
    }

    // One transfer of `bytes` (whole sectors) has been dealt with.
    void Advance(uint32_t bytes) {
        if (method_ == DeviceMethod::Nt) {
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
    DeviceMethod method_;
    uint32_t bytes_ = 0;
    uint32_t startSector_ = 0;
};
