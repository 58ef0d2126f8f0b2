#pragma once
#include <stdint.h>

#include <optional>

#include "engine/device/device_method.h"
#include "engine/device/nt_floppy_device.h"
#include "engine/device/vwin32_floppy_device_win32.h"
#include "engine/job/floppy_device_factory.h"

// The running system's way to a floppy drive: the NT device handle on the NT family,
// the VWIN32 service on the 9x family (`ntMajorVersion` 0). The device is built when a
// job asks for it, on the job's thread, and closed by the job on every path. `trailers`:
// the policy of the program that runs the jobs (the restorer stub has its own); `files`:
// the system's file operations for the running family, null in the stub.
class PlatformFloppyDevices final : public FloppyDeviceFactory {
public:
    PlatformFloppyDevices(uint32_t ntMajorVersion, const TrailerPolicy& trailers,
                          TargetFiles* files)
        : method_(DeviceMethodFor(ntMajorVersion)), trailers_(trailers), files_(files) {}
    PlatformFloppyDevices(const PlatformFloppyDevices&) = delete;
    PlatformFloppyDevices& operator=(const PlatformFloppyDevices&) = delete;

    FloppyDevice& DeviceFor(const char* driveText) override;
    TargetFiles* Files() override { return files_; }
    const TrailerPolicy& Trailers() const override { return trailers_; }

private:
    DeviceMethod method_;
    const TrailerPolicy& trailers_;
    TargetFiles* files_;
    std::optional<NtFloppyDevice> nt_;
    std::optional<Vwin32FloppyDevice> vwin32_;
};
