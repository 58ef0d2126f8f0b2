#pragma once
#include <windows.h>

#include "engine/floppy_device.h"

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

    DeviceQuery QuerySectorsPerTrack(DeviceAccess access, uint32_t* sectorsPerTrack) override;
    bool Open(DeviceAccess access) override;
    bool Read(uint32_t firstSector, void* buffer, uint32_t bytes, uint32_t* transferred,
              uint32_t* error) override;
    bool Write(uint32_t firstSector, const void* buffer, uint32_t bytes,
               uint32_t* error) override;
    void Close() override;
    bool IsWriteProtectError(uint32_t error) const override;

private:
    HANDLE OpenService(DeviceAccess access) const;
    bool Transfer(uint32_t direction, uint32_t firstSector, const void* buffer, uint32_t bytes,
                  uint32_t* error);

    Vwin32Calls calls_;
    uint32_t drive_;
    HANDLE handle_;
};
