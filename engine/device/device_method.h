#pragma once
#include <stdint.h>

// The two ways to a floppy drive on Windows: a device handle on the NT family, the VWIN32
// service on the 9x family. Each device states how a job counts its way through the disk
// (FloppyDevice::KeepsPosition); the platform object alone chooses between them.
enum class DeviceMethod { Nt, Vwin32 };

// The NT method on the NT family, the VWIN32 service on the 9x family (major version 0).
inline DeviceMethod DeviceMethodFor(uint32_t ntMajorVersion) {
    return ntMajorVersion != 0 ? DeviceMethod::Nt : DeviceMethod::Vwin32;
}
