#pragma once
#include <stdint.h>

#include "engine/device/floppy_device.h"
#include "engine/device/floppy_type.h"

// A disk that is already in memory: the decoded sectors of an image file, read by the
// unchanged read job when it converts an image instead of reading a drive. It can only be
// read; opening it for writing fails, so nothing can reach the source through it. It
// behaves like the NT method at the disk's end: a read there delivers what is left.
class MemoryFloppyDevice final : public FloppyDevice {
public:
    // `data` holds `bytes` bytes of a disk of `format`; it stays the caller's and must
    // outlive the device.
    MemoryFloppyDevice(const char* data, uint32_t bytes, const FloppyType& format)
        : data_(data), bytes_(bytes), format_(&format) {}

    DeviceQuery QueryGeometry(DeviceAccess access, DiskGeometry* geometry) override;
    bool Open(DeviceAccess access) override;
    bool Read(uint32_t firstSector, void* buffer, uint32_t bytes, uint32_t* transferred,
              uint32_t* error) override;
    bool Write(uint32_t firstSector, const void* buffer, uint32_t bytes, uint32_t* error) override;
    void Close() override { open_ = false; }
    bool IsWriteProtectError(uint32_t error) const override { return error == kWriteProtect; }
    // Each transfer names its start sector.
    bool KeepsPosition() const override { return false; }

    // ERROR_WRITE_PROTECT, ERROR_INVALID_HANDLE and ERROR_SECTOR_NOT_FOUND, as a
    // drive would give them.
    static constexpr uint32_t kWriteProtect = 19;
    static constexpr uint32_t kNotOpen = 6;
    static constexpr uint32_t kPastTheEnd = 27;

private:
    const char* data_;
    uint32_t bytes_;
    const FloppyType* format_;  // the caller's, never null
    bool open_ = false;
};
