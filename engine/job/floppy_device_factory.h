#pragma once
#include "engine/device/floppy_device.h"
#include "engine/files/target_files.h"
#include "engine/image/trailer_reader.h"

// What the running platform hands the jobs: the device for a drive (the platform's
// method in the programs, engine/job/platform_floppy_devices_win32.h; a simulated drive in
// the tests; a device that pauses each unit in the end-to-end tests' build of the
// program) and the way its files are replaced.
class FloppyDeviceFactory {
public:
    // The device for the drive `driveText` ("A:" or "B:"). It belongs to the factory
    // and stays until the factory is asked again or goes; one job at a time uses it.
    virtual FloppyDevice& DeviceFor(const char* driveText) = 0;

    // The operations that make, replace and remove the files a read job writes; null
    // where the program makes no image files (the restorer stub, which only writes disks).
    virtual TargetFiles* Files() = 0;

    // The running program's rules for the trailers of the images its jobs write: the
    // restorer stub reads every trailer by the tags it knows, the program refuses a newer one.
    virtual const TrailerPolicy& Trailers() const { return kProgramTrailerPolicy; }

protected:
    ~FloppyDeviceFactory() = default;
};
