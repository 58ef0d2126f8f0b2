#pragma once
#include <stdint.h>

// Sector-level access to the whole disk in one floppy drive, below any file system.
// Each platform implements it (a device handle on NT, the VWIN32 service on the 9x
// family, a block device on Linux); tests use a simulated drive. Sectors are 512 bytes, in logical order.
enum class DeviceAccess { Read, Write };

enum class DeviceQuery {
    Ok,
    OpenFailed,   // the drive could not be opened (the job reports "Unable to open")
    QueryFailed,  // the drive opened but did not tell its medium's format
};

// What a drive tells of the medium in it; 0 where it does not say.
struct DiskGeometry {
    uint32_t cylinders = 0;
    uint32_t heads = 0;
    uint32_t sectorsPerTrack = 0;
    uint32_t totalSectors = 0;
};

// What became of a request for the volume of the open drive.
enum class VolumeLock {
    Locked,       // this process alone has the disk until Close releases it
    InUse,        // files on the disk are open elsewhere: a write must not start
    Unsupported,  // the method or its driver has no such lock: go on without one
};

class FloppyDevice {
public:
    static constexpr uint32_t kSectorSize = 512;

    virtual ~FloppyDevice() = default;

    // Opens the drive in the given direction, asks for the geometry of the medium in it
    // and closes it again, whatever the outcome. DetermineFloppyType (floppy_type.h)
    // judges the answer.
    virtual DeviceQuery QueryGeometry(DeviceAccess access, DiskGeometry* geometry) = 0;

    // Opens the drive for a whole transfer; false when it cannot be opened.
    virtual bool Open(DeviceAccess access) = 0;

    // Transfers `bytes` (a whole number of sectors) starting at `firstSector`.
    // A method that keeps a position of its own moves it only when `firstSector` is not
    // where the previous transfer left it. `error` receives the platform's error code.
    virtual bool Read(uint32_t firstSector, void* buffer, uint32_t bytes, uint32_t* transferred,
                      uint32_t* error) = 0;
    virtual bool Write(uint32_t firstSector, const void* buffer, uint32_t bytes,
                       uint32_t* error) = 0;

    // After Open: takes the disk's volume for this process, so that no file system
    // writes to it or holds a view of it meanwhile (since Windows Vista raw writes to a
    // mounted volume's file-system sectors fail without). For writing it is dismounted
    // as well. Close releases it.
    virtual VolumeLock LockVolume(DeviceAccess access) {
        (void)access;
        return VolumeLock::Unsupported;
    }

    // How a job counts its way through the disk with this device. True: it keeps a
    // position of its own (a handle, a descriptor), and the job adds up the bytes each
    // transfer moved; false: it keeps none (the VWIN32 service), and the job advances the
    // start sector itself, taking start sector x 512 for the bytes done.
    virtual bool KeepsPosition() const = 0;

    // Releases any lock and closes the drive.
    virtual void Close() = 0;

    // Tells a write-protected medium apart from other write errors.
    virtual bool IsWriteProtectError(uint32_t error) const = 0;

    // After a transfer failed with `error`: true when the medium itself has gone (no
    // disk, drive not ready, device unplugged), so that nothing more can be read or
    // written; a bad sector answers false. A method may ask the drive again to tell
    // the two apart.
    virtual bool MediumGone(uint32_t error) {
        (void)error;
        return false;
    }
};
