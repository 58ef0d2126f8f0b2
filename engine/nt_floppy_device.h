#pragma once
#include <stdint.h>

#include "engine/floppy_device.h"

// One control request without data (the FSCTL codes of the volume lock) on the open drive's
// handle: true when it succeeded, else false with the platform's error in `error`. The
// system's DeviceIoControl behind it, or a test's stand-in, since a real volume that is
// in use is not at hand under Wine.
using VolumeControl = bool (*)(void* handle, uint32_t code, uint32_t* error);
bool SystemVolumeControl(void* handle, uint32_t code, uint32_t* error);

// The NT family's way to a floppy: the drive opened as a device ("\\.\A:") and read and
// written like a file. Defined in nt_floppy_device_win32.cpp.
class NtFloppyDevice : public FloppyDevice {
public:
    // `driveText` is the drive as the settings hold it, e.g. "A:".
    explicit NtFloppyDevice(const char* driveText, VolumeControl control = &SystemVolumeControl);
    ~NtFloppyDevice() override;
    NtFloppyDevice(const NtFloppyDevice&) = delete;
    NtFloppyDevice& operator=(const NtFloppyDevice&) = delete;

    DeviceQuery QuerySectorsPerTrack(DeviceAccess access, uint32_t* sectorsPerTrack) override;
    bool Open(DeviceAccess access) override;
    bool Read(uint32_t firstSector, void* buffer, uint32_t bytes, uint32_t* transferred,
              uint32_t* error) override;
    bool Write(uint32_t firstSector, const void* buffer, uint32_t bytes,
               uint32_t* error) override;
    VolumeLock LockVolume(DeviceAccess access) override;
    void Close() override;
    bool IsWriteProtectError(uint32_t error) const override;

private:
    void* OpenHandle(DeviceAccess access) const;
    bool MoveTo(uint32_t firstSector, uint32_t* error);

    static constexpr unsigned kPathSize = 260;
    char path_[kPathSize];
    VolumeControl control_;
    void* handle_;           // the transfer's handle; INVALID_HANDLE_VALUE when closed
    bool volumeLocked_ = false;
    uint32_t position_ = 0;  // the sector the handle's file pointer stands at
    bool positionKnown_ = false;
};
