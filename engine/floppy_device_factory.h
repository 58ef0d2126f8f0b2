#pragma once
#include "engine/device_method.h"
#include "engine/floppy_device.h"
#include "engine/trailer_reader.h"

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

    // The running program's rules for the trailers of the images its jobs write: the
    // restorer stub reads every trailer by the tags it knows, the program refuses a newer one.
    virtual const TrailerPolicy& Trailers() const { return kProgramTrailerPolicy; }

protected:
    ~FloppyDeviceFactory() = default;
};
