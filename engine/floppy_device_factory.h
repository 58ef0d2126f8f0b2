#pragma once
#include "engine/device_method.h"
#include "engine/floppy_device.h"

// Where a job's device comes from: the platform's method for the drive in the programs
// (engine/platform_floppy_devices_win32.h), a simulated drive in the tests, a device
// that pauses each unit in the end-to-end tests' build of the program.
class FloppyDeviceFactory {
public:
    // The device for the drive `driveText` ("A:" or "B:"). It belongs to the factory
    // and stays until the factory is asked again or goes; one job at a time uses it.
    virtual FloppyDevice& DeviceFor(const char* driveText) = 0;

    // How a job counts its way through the factory's devices.
    virtual DeviceMethod Method() const = 0;

protected:
    ~FloppyDeviceFactory() = default;
};
