#include "tests/support/slow_floppy_devices.h"

bool SlowFloppyDevice::Read(uint32_t firstSector, void* buffer, uint32_t bytes,
                            uint32_t* transferred, uint32_t* error) {
    pause_();
    return device_.Read(firstSector, buffer, bytes, transferred, error);
}

bool SlowFloppyDevice::Write(uint32_t firstSector, const void* buffer, uint32_t bytes,
                             uint32_t* error) {
    pause_();
    return device_.Write(firstSector, buffer, bytes, error);
}

FloppyDevice& SlowFloppyDevices::DeviceFor(const char* driveText) {
    device_.emplace(devices_.DeviceFor(driveText), pause_);
    return *device_;
}
