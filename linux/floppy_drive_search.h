#pragma once
#include <string>
#include <vector>

#include "engine/device/floppy_type.h"
#include "linux/device_calls.h"

// How a floppy drive is attached.
enum class DriveKind { Controller, UsbFloppy, RemovableDisk };

struct FloppyDrive {
    std::string device;  // "/dev/fd0", "/dev/sdb"
    DriveKind kind = DriveKind::Controller;
    std::string vendor;  // the SCSI inquiry's, blanks trimmed; none for a controller's drive
    std::string model;
};

// Every floppy drive that sysfs shows, in the order of their names: the floppy
// controller's (/sys/block/fdN), the SCSI disks of a USB interface of the floppy class
// (mass storage, UFI) under usb-storage, and removable SCSI disks whose size is one of
// the floppy formats. A USB stick or a card reader with a larger medium is no floppy
// drive; nothing is taken from a device's name alone.
std::vector<FloppyDrive> FindFloppyDrives(DeviceCalls& calls);

enum class MediumState { Known, NoDisk, UnknownFormat, Unreadable };

struct MediumFacts {
    MediumState state = MediumState::NoDisk;
    const FloppyType* type = nullptr;  // when Known
    bool writeProtected = false;
    int error = 0;  // errno when Unreadable
};

// The disk in the drive, as the jobs would find it; opened for reading only, and
// without O_EXCL so that a mounted disk is described too.
MediumFacts InspectMedium(DeviceCalls& calls, const FloppyDrive& drive);

// One line of `vorlix drives`: the device, the kind with vendor and model, the medium.
std::string DriveLine(const FloppyDrive& drive, const MediumFacts& medium);
