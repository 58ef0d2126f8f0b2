#pragma once
#include <stdint.h>

#include <string>

#include "engine/device/floppy_device.h"
#include "engine/job/floppy_device_factory.h"
#include "linux/device_calls.h"
#include "platform/user_message.h"

// A floppy disk on Linux, whichever way it is reached: a floppy drive (/dev/fd0 and its
// kin: the format from FDGETPRM), any block device holding exactly one of the standard
// formats (a USB drive such as /dev/sdb: BLKGETSIZE64), or a regular file of that size.
// Block devices are opened exclusively, and written synchronously so that a failing
// sector is reported by the write that hit it. Errors are errno values.
class LinuxFloppyDevice final : public FloppyDevice {
public:
    LinuxFloppyDevice(DeviceCalls& calls, const char* path) : calls_(calls), path_(path) {}
    ~LinuxFloppyDevice() override { Close(); }
    LinuxFloppyDevice(const LinuxFloppyDevice&) = delete;
    LinuxFloppyDevice& operator=(const LinuxFloppyDevice&) = delete;

    DeviceQuery QueryGeometry(DeviceAccess access, DiskGeometry* geometry) override;
    bool Open(DeviceAccess access) override;
    bool Read(uint32_t firstSector, void* buffer, uint32_t bytes, uint32_t* transferred,
              uint32_t* error) override;
    bool Write(uint32_t firstSector, const void* buffer, uint32_t bytes, uint32_t* error) override;
    void Close() override;
    bool IsWriteProtectError(uint32_t error) const override;
    bool KeepsPosition() const override { return true; }
    // No medium, no device: gone. An I/O error: gone when the device, opened again, no
    // longer tells a floppy's format; else a bad sector.
    bool MediumGone(uint32_t error) override;

private:
    int OpenDescriptor(DeviceAccess access);
    bool AnswersAgain();

    DeviceCalls& calls_;
    std::string path_;
    int fd_ = -1;
    bool writing_ = false;
    uint64_t diskBytes_ = 0;
};

// The format of the disk behind an open descriptor: 0 with its geometry and byte size,
// or -1 when it is no floppy format (`*bytes` then tells the size when known, else 0).
int DiskFormatOf(DeviceCalls& calls, int fd, const NodeFacts& facts, DiskGeometry* geometry,
                 uint64_t* bytes);

// The front end's look at the device before a job: the path exists and is a floppy
// drive, a block device or a file; a block device is not mounted; it opens in the
// job's direction (exclusively); it holds one of the standard formats. 0, or -1 once the
// user has been told why not: unable to open, write protected, in use, mounted (naming
// the mount point), or not a floppy.
int CheckDevice(DeviceCalls& calls, const char* path, DeviceAccess access, MessageSink& sink);

// The one device of the terminal program's job; the drive text is its path.
class LinuxFloppyDevices final : public FloppyDeviceFactory {
public:
    LinuxFloppyDevices(DeviceCalls& calls, const char* path) : device_(calls, path) {}
    FloppyDevice& DeviceFor(const char*) override { return device_; }
    TargetFiles* Files() override { return &files_; }
    const LinuxFloppyDevice& Device() const { return device_; }

private:
    LinuxFloppyDevice device_;
    SystemTargetFiles files_{true};
};
