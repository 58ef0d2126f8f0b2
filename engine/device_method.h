#pragma once
#include <stdint.h>

// The two ways to a floppy drive, and how a job counts its way through the disk with
// each. `Nt`: the device handle keeps the position and the bytes the reads return are
// added up. `Vwin32`: the service keeps none, so the job advances the start sector
// itself and the bytes done are start sector x 512.
enum class DeviceMethod { Nt, Vwin32 };

// The NT method on the NT family, the VWIN32 service on the 9x family (major version 0).
inline DeviceMethod DeviceMethodFor(uint32_t ntMajorVersion) {
    return ntMajorVersion != 0 ? DeviceMethod::Nt : DeviceMethod::Vwin32;
}
