#include "linux/linux_floppy_device.h"

#include <errno.h>

#include "engine/device/floppy_type.h"
#include "engine/job/job_request.h"
#include "linux/device_rules.h"
#include "linux/terminal_messages.h"
#include "resources/string_ids.h"

namespace {

// Closes a descriptor of the device calls when it goes out of scope.
class ScopedDescriptor {
public:
    ScopedDescriptor(DeviceCalls& calls, int fd) : calls_(calls), fd_(fd) {}
    ~ScopedDescriptor() {
        if (fd_ >= 0) calls_.Close(fd_);
    }
    ScopedDescriptor(const ScopedDescriptor&) = delete;
    ScopedDescriptor& operator=(const ScopedDescriptor&) = delete;
    int Get() const { return fd_; }

private:
    DeviceCalls& calls_;
    int fd_;
};

int OpenFor(DeviceCalls& calls, const char* path, const NodeFacts& facts, DeviceAccess access) {
    const bool block = facts.kind == NodeKind::BlockDevice;
    const bool write = access == DeviceAccess::Write;
    return calls.Open(path, write, block, block && write);
}

}  // namespace

int DiskFormatOf(DeviceCalls& calls, int fd, const NodeFacts& facts, DiskGeometry* geometry,
                 uint64_t* bytes) {
    *bytes = 0;
    *geometry = DiskGeometry{};
    uint64_t size = facts.size;
    if (facts.kind == NodeKind::BlockDevice) {
        FloppyParameters parameters;
        if (calls.FloppyFormat(fd, &parameters) == 0) {
            // A floppy drive: its own idea of the medium decides, as on Windows.
            geometry->cylinders = parameters.track;
            geometry->heads = parameters.head;
            geometry->sectorsPerTrack = parameters.sect;
            geometry->totalSectors = parameters.size;
            const FloppyType* type = FindFloppyTypeOfGeometry(*geometry);
            if (type == nullptr) return -1;  // a format the drive knows and we do not
            *bytes = type->totalBytes;
            return 0;
        }
        if (calls.BlockDeviceBytes(fd, &size) != 0) return -1;
    }
    *bytes = size;
    // A disk of one of the formats, whose size is all that is known of it.
    *geometry = GeometryOf(FindFloppyTypeOfSize(size));
    return geometry->totalSectors != 0 ? 0 : -1;
}

DeviceQuery LinuxFloppyDevice::QueryGeometry(DeviceAccess access, DiskGeometry* geometry) {
    const NodeFacts facts = calls_.Inspect(path_.c_str());
    ScopedDescriptor fd(calls_, OpenFor(calls_, path_.c_str(), facts, access));
    if (fd.Get() < 0) return DeviceQuery::OpenFailed;
    uint64_t bytes = 0;
    if (DiskFormatOf(calls_, fd.Get(), facts, geometry, &bytes) != 0) {
        *geometry = DiskGeometry{};
        return DeviceQuery::QueryFailed;
    }
    return DeviceQuery::Ok;
}

int LinuxFloppyDevice::OpenDescriptor(DeviceAccess access) {
    const NodeFacts facts = calls_.Inspect(path_.c_str());
    const int fd = OpenFor(calls_, path_.c_str(), facts, access);
    if (fd < 0) return fd;
    DiskGeometry geometry;
    if (DiskFormatOf(calls_, fd, facts, &geometry, &diskBytes_) != 0) diskBytes_ = 0;
    return fd;
}

bool LinuxFloppyDevice::Open(DeviceAccess access) {
    Close();
    const int fd = OpenDescriptor(access);
    if (fd < 0) return false;
    fd_ = fd;
    writing_ = access == DeviceAccess::Write;
    // A read of a block device comes from the disk, never from what an earlier write
    // left in memory: a verify must see the medium.
    if (!writing_ && calls_.Inspect(path_.c_str()).kind == NodeKind::BlockDevice) calls_.DropCache(fd_);
    return true;
}

bool LinuxFloppyDevice::Read(uint32_t firstSector, void* buffer, uint32_t bytes,
                             uint32_t* transferred, uint32_t* error) {
    *transferred = 0;
    *error = 0;
    if (fd_ < 0) {
        *error = EBADF;
        return false;
    }
    const uint64_t offset = uint64_t(firstSector) * kSectorSize;
    while (*transferred < bytes) {
        const long got = calls_.ReadAt(fd_, static_cast<char*>(buffer) + *transferred,
                                       bytes - *transferred, offset + *transferred);
        if (got < 0) {
            *error = static_cast<uint32_t>(-got);
            *transferred = 0;
            return false;
        }
        if (got == 0) break;  // the end of the disk
        *transferred += static_cast<uint32_t>(got);
    }
    return true;
}

bool LinuxFloppyDevice::Write(uint32_t firstSector, const void* buffer, uint32_t bytes,
                              uint32_t* error) {
    *error = 0;
    if (fd_ < 0 || !writing_) {
        *error = EBADF;
        return false;
    }
    const uint64_t offset = uint64_t(firstSector) * kSectorSize;
    if (diskBytes_ != 0 && offset + bytes > diskBytes_) {
        *error = ENOSPC;  // a file as the device never grows
        return false;
    }
    uint32_t done = 0;
    while (done < bytes) {
        const long put = calls_.WriteAt(fd_, static_cast<const char*>(buffer) + done,
                                        bytes - done, offset + done);
        if (put <= 0) {
            *error = put < 0 ? static_cast<uint32_t>(-put) : EIO;
            return false;
        }
        done += static_cast<uint32_t>(put);
    }
    // The last write waits for the disk, so that a late error is still this write's.
    if (offset + bytes == diskBytes_) {
        const int flushed = calls_.Flush(fd_);
        if (flushed != 0) {
            *error = static_cast<uint32_t>(-flushed);
            return false;
        }
    }
    return true;
}

void LinuxFloppyDevice::Close() {
    if (fd_ >= 0) {
        calls_.Close(fd_);
        fd_ = -1;
    }
    writing_ = false;
}

// EPERM: what the kernel answers a write to a read-only block device.
bool LinuxFloppyDevice::IsWriteProtectError(uint32_t error) const {
    return error == EROFS || error == EACCES || error == EPERM;
}

// ENOMEDIUM: a drive without its disk (a card reader, a floppy drive after a change);
// ENODEV, ENXIO: the device itself has gone (a USB drive unplugged).
bool LinuxFloppyDevice::MediumGone(uint32_t error) {
    switch (error) {
    case ENOMEDIUM:
    case ENODEV:
    case ENXIO:
        return true;
    case EIO:
        return !AnswersAgain();
    default:
        return false;
    }
}

// A bad sector leaves the device answering; a medium that has gone does not: its node is
// removed, it no longer opens, or it tells no format (an unplugged USB drive has size 0).
// Asked on a descriptor of its own, for reading and without O_EXCL, which the job's
// exclusive descriptor does not keep out.
bool LinuxFloppyDevice::AnswersAgain() {
    const NodeFacts facts = calls_.Inspect(path_.c_str());
    if (facts.kind == NodeKind::Missing) return false;
    ScopedDescriptor fresh(calls_, calls_.Open(path_.c_str(), false, false, false));
    // A driver that lets one opener at a time have the drive answers EBUSY while the job
    // holds it: the job's own descriptor is asked then.
    const int fd = fresh.Get() == -EBUSY ? fd_ : fresh.Get();
    if (fd < 0) return false;
    DiskGeometry geometry;
    uint64_t bytes = 0;
    return DiskFormatOf(calls_, fd, facts, &geometry, &bytes) == 0;
}

namespace {

std::string MountPointOfDevice(DeviceCalls& calls, uint64_t deviceNumber) {
    static constexpr size_t kMountsSize = 1 << 20;
    std::string buffer(kMountsSize, '\0');
    size_t length = 0;
    if (!calls.ReadMounts(&buffer[0], buffer.size(), &length)) return "";
    buffer.resize(length);
    return FindMountPoint(buffer, deviceNumber, [&calls](const std::string& source, uint64_t* number) {
        const NodeFacts facts = calls.Inspect(source.c_str());
        *number = facts.deviceNumber;
        return facts.kind == NodeKind::BlockDevice;
    });
}

int Tell(MessageSink& sink, unsigned id, const char* text, long number = 0) {
    sink.Show(UserMessage{id, MessageStyle::Error, text, number});
    return -1;
}

}  // namespace

int CheckDevice(DeviceCalls& calls, const char* path, DeviceAccess access, MessageSink& sink) {
    const std::string device = path;
    if (device.size() >= static_cast<size_t>(kJobPathSize)) return Tell(sink, kMsgPathTooLong, path);
    const NodeFacts facts = calls.Inspect(path);
    if (facts.kind == NodeKind::Missing) return Tell(sink, IDS_UNABLE_TO_OPEN, path);
    if (facts.kind == NodeKind::Other) return Tell(sink, kMsgNotFloppyKind, path);
    if (facts.kind == NodeKind::BlockDevice) {
        const std::string point = MountPointOfDevice(calls, facts.deviceNumber);
        if (!point.empty()) {
            const std::string text = device + " is mounted on " + point;
            return Tell(sink, kMsgMounted, text.c_str());
        }
    }
    ScopedDescriptor fd(calls, OpenFor(calls, path, facts, access));
    if (fd.Get() < 0) {
        const int error = -fd.Get();
        if (access == DeviceAccess::Write && (error == EROFS || error == EACCES)) {
            return Tell(sink, IDS_WRITE_PROTECTED, nullptr);
        }
        if (error == EBUSY) return Tell(sink, IDS_FLOPPY_IN_USE, path);
        return Tell(sink, IDS_UNABLE_TO_OPEN, path);
    }
    bool readOnly = false;
    if (access == DeviceAccess::Write && facts.kind == NodeKind::BlockDevice &&
        calls.BlockDeviceReadOnly(fd.Get(), &readOnly) == 0 && readOnly) {
        return Tell(sink, IDS_WRITE_PROTECTED, nullptr);
    }
    DiskGeometry geometry;
    uint64_t bytes = 0;
    if (DiskFormatOf(calls, fd.Get(), facts, &geometry, &bytes) != 0) {
        if (bytes == 0 && facts.kind == NodeKind::BlockDevice) return Tell(sink, IDS_UNKNOWN_FLOPPY_TYPE, nullptr);
        return Tell(sink, kMsgNotFloppySize, path, static_cast<long>(bytes));
    }
    return 0;
}
