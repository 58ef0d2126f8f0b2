#pragma once
#include <windows.h>

#include "engine/device/floppy_device.h"
#include "engine/device/vwin32_records.h"

// The system calls the 9x method makes. Windows 9x is not at hand for testing, so tests
// put an emulation of the VWIN32 service in their place.
struct Vwin32Calls {
    decltype(&CreateFileA) createFile;
    decltype(&DeviceIoControl) deviceIoControl;
    decltype(&CloseHandle) closeHandle;
};

const Vwin32Calls& SystemVwin32Calls();

// The Windows 9x family's way to a floppy: every operation is an MS-DOS disk function
// run by the VWIN32 service ("\\.\vwin32"). The service keeps no position; each
// transfer names its first sector.
class Vwin32FloppyDevice : public FloppyDevice {
public:
    explicit Vwin32FloppyDevice(const char* driveText,
                                const Vwin32Calls& calls = SystemVwin32Calls());
    ~Vwin32FloppyDevice() override;
    Vwin32FloppyDevice(const Vwin32FloppyDevice&) = delete;
    Vwin32FloppyDevice& operator=(const Vwin32FloppyDevice&) = delete;

    DeviceQuery QueryGeometry(DeviceAccess access, DiskGeometry* geometry) override;
    bool Open(DeviceAccess access) override;
    bool Read(uint32_t firstSector, void* buffer, uint32_t bytes, uint32_t* transferred,
              uint32_t* error) override;
    bool Write(uint32_t firstSector, const void* buffer, uint32_t bytes,
               uint32_t* error) override;
    // For writing, the logical volume's level 1 lock, which Windows 95 and 98 want before
    // absolute disk writes; Write takes it as well should nobody have asked. A service
    // without the lock refuses it, and the write goes on without (never InUse).
    VolumeLock LockVolume(DeviceAccess access) override;
    void Close() override;
    bool IsWriteProtectError(uint32_t error) const override;
    bool KeepsPosition() const override { return false; }
    bool MediumGone(uint32_t error) override;

private:
    HANDLE OpenService(DeviceAccess access) const;
    bool TakeWriteLock();
    // One Generic IOCTL request of the service; true when it did not set the carry flag.
    bool DosIoctl(DiocRegisters& registers);
    bool Transfer(uint32_t direction, uint32_t firstSector, const void* buffer, uint32_t bytes,
                  uint32_t* error);

    Vwin32Calls calls_;
    uint32_t drive_;
    HANDLE handle_;
    bool lockAsked_ = false;  // since Open
    bool lockHeld_ = false;
};
