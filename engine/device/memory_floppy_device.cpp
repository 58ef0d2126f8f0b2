#include "engine/device/memory_floppy_device.h"

#include <string.h>

DeviceQuery MemoryFloppyDevice::QueryGeometry(DeviceAccess access, DiskGeometry* geometry) {
    if (access == DeviceAccess::Write) {
        return DeviceQuery::OpenFailed;
    }
    *geometry = GeometryOf(format_);
    return DeviceQuery::Ok;
}

bool MemoryFloppyDevice::Open(DeviceAccess access) {
    open_ = access == DeviceAccess::Read;
    return open_;
}

bool MemoryFloppyDevice::Read(uint32_t firstSector, void* buffer, uint32_t bytes,
                              uint32_t* transferred, uint32_t* error) {
    *transferred = 0;
    *error = 0;
    if (!open_) {
        *error = kNotOpen;
        return false;
    }
    const uint64_t start = static_cast<uint64_t>(firstSector) * kSectorSize;
    if (start >= bytes_) {
        // The read job's one look past the last unit: nothing is left.
        return start == bytes_ ? true : (*error = kPastTheEnd, false);
    }
    const uint64_t left = bytes_ - start;
    const uint32_t moved = left < bytes ? static_cast<uint32_t>(left) : bytes;
    memcpy(buffer, data_ + start, moved);
    *transferred = moved;
    return true;
}

bool MemoryFloppyDevice::Write(uint32_t, const void*, uint32_t, uint32_t* error) {
    *error = kWriteProtect;
    return false;
}
