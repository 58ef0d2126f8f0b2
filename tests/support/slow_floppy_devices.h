#pragma once
#include <stdint.h>

#include <functional>
#include <optional>
#include <utility>

#include "engine/job/floppy_device_factory.h"

// Another device with a pause before each transfer, one per unit of a job; everything
// else passes through unchanged.
class SlowFloppyDevice final : public FloppyDevice {
public:
    SlowFloppyDevice(FloppyDevice& device, std::function<void()> pause)
        : device_(device), pause_(std::move(pause)) {}

    DeviceQuery QueryGeometry(DeviceAccess access, DiskGeometry* geometry) override {
        return device_.QueryGeometry(access, geometry);
    }
    bool Open(DeviceAccess access) override { return device_.Open(access); }
    bool Read(uint32_t firstSector, void* buffer, uint32_t bytes, uint32_t* transferred,
              uint32_t* error) override;
    bool Write(uint32_t firstSector, const void* buffer, uint32_t bytes,
               uint32_t* error) override;
    VolumeLock LockVolume(DeviceAccess access) override { return device_.LockVolume(access); }
    void Close() override { device_.Close(); }
    bool KeepsPosition() const override { return device_.KeepsPosition(); }
    bool IsWriteProtectError(uint32_t error) const override {
        return device_.IsWriteProtectError(error);
    }
    bool MediumGone(uint32_t error) override { return device_.MediumGone(error); }

private:
    FloppyDevice& device_;
    std::function<void()> pause_;
};

// Another factory's devices, slowed: the end-to-end tests' build of the program runs its
// jobs over these, so that a progress dialog stays long enough to be watched and
// cancelled. The shipped programs carry none of it.
class SlowFloppyDevices final : public FloppyDeviceFactory {
public:
    SlowFloppyDevices(FloppyDeviceFactory& devices, std::function<void()> pause)
        : devices_(devices), pause_(std::move(pause)) {}

    FloppyDevice& DeviceFor(const char* driveText) override;
    TargetFiles* Files() override { return devices_.Files(); }
    const TrailerPolicy& Trailers() const override { return devices_.Trailers(); }

private:
    FloppyDeviceFactory& devices_;
    std::function<void()> pause_;
    std::optional<SlowFloppyDevice> device_;
};
