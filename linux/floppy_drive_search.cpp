#include "linux/floppy_drive_search.h"

#include <errno.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>

#include "linux/linux_floppy_device.h"
#include "linux/terminal_messages.h"
#include "resources/string_ids.h"

namespace {

constexpr char kBlockFolder[] = "/sys/block/";
constexpr char kDevicesFolder[] = "/sys/devices";
// The USB mass-storage class and its floppy subclass (UFI).
constexpr long kMassStorageClass = 8;
constexpr long kUfiSubclass = 4;

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\n");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t\n") - first + 1);
}

// The trimmed text of a sysfs attribute; "" when it cannot be read.
std::string Attribute(DeviceCalls& calls, const std::string& path) {
    std::string text;
    if (calls.ReadSmallFile(path.c_str(), &text) != 0) return "";
    return Trimmed(text);
}

// A number of a sysfs attribute, in `base`; -1 when there is none.
long NumberAttribute(DeviceCalls& calls, const std::string& path, int base) {
    const std::string text = Attribute(calls, path);
    if (text.empty()) return -1;
    char* end = nullptr;
    const long long value = strtoll(text.c_str(), &end, base);
    return *end == '\0' && value >= 0 && value <= 0x7FFFFFFF ? static_cast<long>(value) : -1;
}

bool NamedLike(const std::string& name, const char* prefix, bool digits) {
    const size_t length = strlen(prefix);
    if (name.size() <= length || name.compare(0, length, prefix) != 0) return false;
    return std::all_of(name.begin() + length, name.end(), [digits](char c) {
        return digits ? (c >= '0' && c <= '9') : (c >= 'a' && c <= 'z');
    });
}

std::string Parent(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos || slash == 0 ? "" : path.substr(0, slash);
}

// The SCSI disk sits under a USB interface of the floppy class, bound to usb-storage:
// the first folder above it that names an interface class decides.
bool OnUfiInterface(DeviceCalls& calls, const std::string& blockPath) {
    std::string place;
    if (calls.ResolvePath(blockPath.c_str(), &place) != 0) return false;
    const size_t rootLength = strlen(kDevicesFolder);
    for (place = Parent(place); place.size() > rootLength; place = Parent(place)) {
        const long interfaceClass = NumberAttribute(calls, place + "/bInterfaceClass", 16);
        if (interfaceClass < 0) continue;
        std::string driver;
        if (calls.ResolvePath((place + "/driver").c_str(), &driver) != 0) return false;
        return interfaceClass == kMassStorageClass &&
               NumberAttribute(calls, place + "/bInterfaceSubClass", 16) == kUfiSubclass &&
               driver.substr(driver.rfind('/') + 1) == "usb-storage";
    }
    return false;
}

// A removable disk whose medium holds exactly one of the floppy formats. sysfs counts
// 512-byte sectors whatever the device's own sector size.
bool RemovableOfFloppySize(DeviceCalls& calls, const std::string& blockPath) {
    if (NumberAttribute(calls, blockPath + "/removable", 10) != 1) return false;
    const long sectors = NumberAttribute(calls, blockPath + "/size", 10);
    return sectors > 0 && FindFloppyTypeOfSize(static_cast<uint64_t>(sectors) * 512) != nullptr;
}

bool DescribeScsiDisk(DeviceCalls& calls, const std::string& name, FloppyDrive* drive) {
    const std::string blockPath = kBlockFolder + name;
    if (OnUfiInterface(calls, blockPath)) {
        drive->kind = DriveKind::UsbFloppy;
    } else if (RemovableOfFloppySize(calls, blockPath)) {
        drive->kind = DriveKind::RemovableDisk;
    } else {
        return false;
    }
    drive->vendor = Attribute(calls, blockPath + "/device/vendor");
    drive->model = Attribute(calls, blockPath + "/device/model");
    return true;
}

const char* Text(unsigned id) {
    const char* text = MessageTemplate(id);
    return text != nullptr ? text : "";
}

unsigned KindText(DriveKind kind) {
    switch (kind) {
    case DriveKind::UsbFloppy:
        return IDS_DRIVE_USB_FLOPPY;
    case DriveKind::RemovableDisk:
        return IDS_DRIVE_REMOVABLE_DISK;
    case DriveKind::Controller:
        break;
    }
    return IDS_DRIVE_CONTROLLER;
}

std::string MediumText(const MediumFacts& medium) {
    std::string text;
    switch (medium.state) {
    case MediumState::Known:
        text = medium.type->name;
        break;
    case MediumState::NoDisk:
        return Text(IDS_MEDIUM_NONE);
    case MediumState::UnknownFormat:
        text = Text(IDS_MEDIUM_UNKNOWN_FORMAT);
        break;
    case MediumState::Unreadable:
        return FormatUserMessage(UserMessage{IDS_MEDIUM_UNREADABLE, MessageStyle::Information, strerror(medium.error)});
    }
    return medium.writeProtected ? text + ", " + Text(IDS_MEDIUM_WRITE_PROTECTED) : text;
}

std::string PaddedTo(std::string text, size_t width) {
    if (text.size() < width) text.resize(width, ' ');
    return text;
}

// A floppy drive's write protection: BLKROGET, or the floppy driver's refusal of a
// writer, which it tells only at the open.
bool WriteProtected(DeviceCalls& calls, const FloppyDrive& drive, int fd) {
    bool readOnly = false;
    if (calls.BlockDeviceReadOnly(fd, &readOnly) == 0 && readOnly) return true;
    if (drive.kind != DriveKind::Controller) return false;
    const int writer = calls.Open(drive.device.c_str(), true, false, false);
    if (writer >= 0) calls.Close(writer);
    return writer == -EROFS;
}

}  // namespace

std::vector<FloppyDrive> FindFloppyDrives(DeviceCalls& calls) {
    std::vector<std::string> names;
    std::vector<FloppyDrive> drives;
    if (calls.ListFolder("/sys/block", &names) != 0) return drives;
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        FloppyDrive drive;
        drive.device = "/dev/" + name;
        if (NamedLike(name, "fd", true) || (NamedLike(name, "sd", false) && DescribeScsiDisk(calls, name, &drive))) {
            drives.push_back(drive);
        }
    }
    return drives;
}

MediumFacts InspectMedium(DeviceCalls& calls, const FloppyDrive& drive) {
    MediumFacts medium;
    const char* path = drive.device.c_str();
    const NodeFacts facts = calls.Inspect(path);
    const int fd = facts.kind != NodeKind::Missing ? calls.Open(path, false, false, false)
                                                   : -(facts.error != 0 ? facts.error : ENOENT);
    if (fd < 0) {
        // No disk: the floppy driver refuses the open (ENXIO), a SCSI disk says so.
        medium.state = fd == -ENOMEDIUM || fd == -ENXIO ? MediumState::NoDisk : MediumState::Unreadable;
        medium.error = -fd;
        return medium;
    }
    DiskGeometry geometry;
    uint64_t bytes = 0;
    if (DiskFormatOf(calls, fd, facts, &geometry, &bytes) == 0) {
        medium.state = MediumState::Known;
        medium.type = FindFloppyTypeOfGeometry(geometry);
    }
    if (medium.type == nullptr) {
        // A USB drive without its disk is a device of no size.
        medium.state = bytes == 0 && drive.kind != DriveKind::Controller ? MediumState::NoDisk
                                                                         : MediumState::UnknownFormat;
    }
    if (medium.state != MediumState::NoDisk) medium.writeProtected = WriteProtected(calls, drive, fd);
    calls.Close(fd);
    return medium;
}

std::string DriveLine(const FloppyDrive& drive, const MediumFacts& medium) {
    std::string kind = Text(KindText(drive.kind));
    const std::string name = Trimmed(drive.vendor + " " + drive.model);
    if (!name.empty()) kind += ", " + name;
    return PaddedTo(drive.device, 10) + "  " + PaddedTo(kind, 36) + "  " + MediumText(medium);
}
