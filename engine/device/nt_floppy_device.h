#pragma once
#include <stdint.h>

#include "engine/device/floppy_device.h"

// One control request without data (the FSCTL codes of the volume lock, the medium check)
// on the open drive's handle: true when it succeeded, else false with the platform's
// error in `error`. The system's DeviceIoControl behind it, or a test's stand-in, since a
// real volume that is in use, or a drive that loses its disk, is not at hand under Wine.
using VolumeControl = bool (*)(void* handle, uint32_t code, uint32_t* error);
bool SystemVolumeControl(void* handle, uint32_t code, uint32_t* error);
// The pause between two requests for a volume lock that files still hold: the system's
// Sleep, or a test's stand-in that only counts.
using VolumePause = void (*)(uint32_t milliseconds);
void SystemVolumePause(uint32_t milliseconds);

// The format that an answer to IOCTL_DISK_GET_DRIVE_GEOMETRY describes, as a geometry
// that DetermineFloppyType takes: its cylinders, heads and sectors per track where they
// are one format's; else the format its media type (`mediaType`, a MEDIA_TYPE) names;
// else the classic format of its sectors per track, unless the media type names a floppy
// format we do not know. False for sectors other than 512 bytes and for any other answer.
bool FloppyGeometryOfAnswer(uint32_t mediaType, uint64_t cylinders, uint32_t heads,
                            uint32_t sectorsPerTrack, uint32_t bytesPerSector,
                            DiskGeometry* geometry);

// The NT family's way to a floppy: the drive opened as a device ("\\.\A:") and read and
// written like a file. Defined in nt_floppy_device_win32.cpp.
class NtFloppyDevice : public FloppyDevice {
public:
    // `driveText` is the drive as the settings hold it, e.g. "A:".
    explicit NtFloppyDevice(const char* driveText, VolumeControl control = &SystemVolumeControl,
                            VolumePause pause = &SystemVolumePause);
    ~NtFloppyDevice() override;
    NtFloppyDevice(const NtFloppyDevice&) = delete;
    NtFloppyDevice& operator=(const NtFloppyDevice&) = delete;

    DeviceQuery QueryGeometry(DeviceAccess access, DiskGeometry* geometry) override;
    bool Open(DeviceAccess access) override;
    bool Read(uint32_t firstSector, void* buffer, uint32_t bytes, uint32_t* transferred,
              uint32_t* error) override;
    bool Write(uint32_t firstSector, const void* buffer, uint32_t bytes,
               uint32_t* error) override;
    VolumeLock LockVolume(DeviceAccess access) override;
    void Close() override;
    bool IsWriteProtectError(uint32_t error) const override;
    bool KeepsPosition() const override { return true; }
    bool MediumGone(uint32_t error) override;

    // How long a write waits for files on the disk to be closed, in steps of its pause.
    static constexpr uint32_t kLockWaitMs = 5000;
    static constexpr uint32_t kLockRetryMs = 250;

private:
    void* OpenHandle(DeviceAccess access) const;
    bool RequestLock(DeviceAccess access, uint32_t* error);
    bool MoveTo(uint32_t firstSector, uint32_t* error);

    static constexpr unsigned kPathSize = 260;
    char path_[kPathSize];
    VolumeControl control_;
    VolumePause pause_;
    void* handle_;           // the transfer's handle; INVALID_HANDLE_VALUE when closed
    bool volumeLocked_ = false;
    uint32_t position_ = 0;  // the sector the handle's file pointer stands at
    bool positionKnown_ = false;
};
