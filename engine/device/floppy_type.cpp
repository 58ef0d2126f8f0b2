#include "engine/device/floppy_type.h"

#include "resources/string_ids.h"

namespace {

constexpr uint32_t kTotalBytes720 = 737280;
constexpr uint32_t kTotalBytes1440 = 1474560;
constexpr uint32_t kTotalBytes1680 = 1720320;

constexpr uint32_t GeometryBytes(uint32_t sectorsPerTrack) {
    return sectorsPerTrack * FloppyDevice::kSectorSize * 2 * 80;
}
static_assert(kTotalBytes720 == GeometryBytes(9), "720 kB disk size");
static_assert(kTotalBytes1440 == GeometryBytes(18), "1440 kB disk size");
static_assert(kTotalBytes1680 == GeometryBytes(21), "1680 kB disk size");
static_assert(kTotalBytes1680 == kLargestFloppyBytes, "the 21-sector format is the largest");

const FloppyType kFloppyTypes[] = {
    {9, kTotalBytes720, "720 kB", false},
    {18, kTotalBytes1440, "1440 kB", true},
    {21, kTotalBytes1680, "1680 kB", true},
};

void ShowUnknownType(MessageSink& sink) {
    sink.Show(UserMessage{IDS_UNKNOWN_FLOPPY_TYPE, MessageStyle::Error});
}

}  // namespace

const FloppyType* FindFloppyType(uint32_t sectorsPerTrack) {
    for (const FloppyType& type : kFloppyTypes) {
        if (type.sectorsPerTrack == sectorsPerTrack) {
            return &type;
        }
    }
    return nullptr;
}

const FloppyType* FindFloppyTypeOfSize(uint64_t bytes) {
    for (const FloppyType& type : kFloppyTypes) {
        if (type.totalBytes == bytes) {
            return &type;
        }
    }
    return nullptr;
}

int DetermineFloppyType(FloppyDevice& device, DeviceAccess access, const char* driveText,
                        MessageSink& sink, const FloppyType** type) {
    uint32_t sectorsPerTrack = 0;
    switch (device.QuerySectorsPerTrack(access, &sectorsPerTrack)) {
    case DeviceQuery::OpenFailed:
        sink.Show(UserMessage{IDS_UNABLE_TO_OPEN, MessageStyle::Error, driveText});
        return -1;
    case DeviceQuery::QueryFailed:
        ShowUnknownType(sink);
        return -1;
    case DeviceQuery::Ok:
        break;
    }
    const FloppyType* found = FindFloppyType(sectorsPerTrack);
    if (found == nullptr) {
        ShowUnknownType(sink);
        return -1;
    }
    *type = found;
    return 0;
}

int CheckImageAgainstDisk(int32_t imageSectorsPerTrack, uint32_t diskSectorsPerTrack,
                          MessageSink& sink) {
    if (imageSectorsPerTrack < 0) {
        return 0;  // a foreign trailer's number: nothing to compare with
    }
    const FloppyType* image = FindFloppyType(static_cast<uint32_t>(imageSectorsPerTrack));
    const FloppyType* disk = FindFloppyType(diskSectorsPerTrack);
    if (image == nullptr || disk == nullptr || image == disk) {
        return 0;
    }
    if (image->highDensity != disk->highDensity) {
        const char* needed = image->highDensity ? "high density (HD)" : "double density (DD)";
        sink.Show(UserMessage{IDS_DISK_NEEDS_OTHER_DENSITY, MessageStyle::Error, needed});
        return -1;
    }
    // Both high density, formatted to the other size: say the size the image needs.
    sink.Show(UserMessage{IDS_DISK_NEEDS_OTHER_FORMAT, MessageStyle::Error, nullptr,
                          static_cast<long>(image->totalBytes / 1024)});
    return -1;
}
