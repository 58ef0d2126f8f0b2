#include "engine/device/floppy_type.h"

#include "resources/string_ids.h"

namespace {

constexpr uint32_t DiskBytes(uint32_t cylinders, uint32_t heads, uint32_t sectorsPerTrack) {
    return cylinders * heads * sectorsPerTrack * FloppyDevice::kSectorSize;
}

// Smallest first. The three classic formats are the ones the first versions knew.
const FloppyType kFloppyTypes[] = {
    {40, 1, 8, DiskBytes(40, 1, 8), "160 kB", "160 kB, 5.25-inch single-sided",
     false, false},
    {40, 1, 9, DiskBytes(40, 1, 9), "180 kB", "180 kB, 5.25-inch single-sided", false, false},
    {40, 2, 8, DiskBytes(40, 2, 8), "320 kB", "320 kB, 5.25-inch double density",
     false, false},
    {40, 2, 9, DiskBytes(40, 2, 9), "360 kB", "360 kB, 5.25-inch double density", false, false},
    {80, 2, 9, DiskBytes(80, 2, 9), "720 kB", "720 kB, 3.5-inch double density", false, true},
    {80, 2, 15, DiskBytes(80, 2, 15), "1200 kB", "1200 kB, 5.25-inch high density", true, false},
    {80, 2, 18, DiskBytes(80, 2, 18), "1440 kB", "1440 kB, 3.5-inch high density", true, true},
    {80, 2, 21, DiskBytes(80, 2, 21), "1680 kB", "1680 kB, 3.5-inch high density",
     true, true},
    {80, 2, 36, DiskBytes(80, 2, 36), "2880 kB", "2880 kB, 3.5-inch extra-high density", true,
     false},
};
static_assert(DiskBytes(80, 2, 36) == kLargestFloppyBytes, "the 2880 kB format is the largest");
static_assert(DiskBytes(80, 2, 21) == 1720320, "1680 kB disk size");

void ShowUnknownType(MessageSink& sink) {
    sink.Show(UserMessage{IDS_UNKNOWN_FLOPPY_TYPE, MessageStyle::Error});
}

// A value the drive gave (not 0) that differs from the format's.
bool Disagrees(uint32_t told, uint32_t value) {
    return told != 0 && told != value;
}

const FloppyType* FindByLayout(uint32_t cylinders, uint32_t heads, uint32_t sectorsPerTrack) {
    for (const FloppyType& type : kFloppyTypes) {
        if (type.cylinders == cylinders && type.heads == heads &&
            type.sectorsPerTrack == sectorsPerTrack) {
            return &type;
        }
    }
    return nullptr;
}

}  // namespace

const FloppyType* FloppyTypes(uint32_t* count) {
    *count = sizeof kFloppyTypes / sizeof kFloppyTypes[0];
    return kFloppyTypes;
}

const FloppyType* FindFloppyType(uint32_t sectorsPerTrack) {
    for (const FloppyType& type : kFloppyTypes) {
        if (type.classic && type.sectorsPerTrack == sectorsPerTrack) {
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

const FloppyType* FindFloppyTypeOfGeometry(const DiskGeometry& geometry) {
    const FloppyType* type = nullptr;
    if (geometry.totalSectors != 0) {
        type = FindFloppyTypeOfSize(static_cast<uint64_t>(geometry.totalSectors) *
                                    FloppyDevice::kSectorSize);
    } else if (geometry.cylinders != 0 && geometry.heads != 0) {
        type = FindByLayout(geometry.cylinders, geometry.heads, geometry.sectorsPerTrack);
    } else if (geometry.cylinders == 0) {
        type = FindFloppyType(geometry.sectorsPerTrack);
    }
    if (type == nullptr || Disagrees(geometry.cylinders, type->cylinders) ||
        Disagrees(geometry.heads, type->heads) ||
        Disagrees(geometry.sectorsPerTrack, type->sectorsPerTrack)) {
        return nullptr;
    }
    return type;
}

const FloppyType* FindFloppyTypeOfTrailer(int32_t sectorsPerTrack, int32_t totalSectors) {
    if (sectorsPerTrack <= 0) {
        return nullptr;
    }
    if (totalSectors <= 0) {
        return FindFloppyType(static_cast<uint32_t>(sectorsPerTrack));
    }
    DiskGeometry geometry;
    geometry.sectorsPerTrack = static_cast<uint32_t>(sectorsPerTrack);
    geometry.totalSectors = static_cast<uint32_t>(totalSectors);
    return FindFloppyTypeOfGeometry(geometry);
}

DiskGeometry GeometryOf(const FloppyType* type) {
    DiskGeometry geometry;
    if (type != nullptr) {
        geometry.cylinders = type->cylinders;
        geometry.heads = type->heads;
        geometry.sectorsPerTrack = type->sectorsPerTrack;
        geometry.totalSectors = TotalSectors(*type);
    }
    return geometry;
}

int TrailerTotalSectors(const FloppyType& type) {
    return type.classic ? 0 : static_cast<int>(TotalSectors(type));
}

int DetermineFloppyType(FloppyDevice& device, DeviceAccess access, const char* driveText,
                        MessageSink& sink, const FloppyType** type) {
    DiskGeometry geometry;
    switch (device.QueryGeometry(access, &geometry)) {
    case DeviceQuery::OpenFailed:
        sink.Show(UserMessage{IDS_UNABLE_TO_OPEN, MessageStyle::Error, driveText});
        return -1;
    case DeviceQuery::QueryFailed:
        ShowUnknownType(sink);
        return -1;
    case DeviceQuery::Ok:
        break;
    }
    const FloppyType* found = FindFloppyTypeOfGeometry(geometry);
    if (found == nullptr) {
        ShowUnknownType(sink);
        return -1;
    }
    *type = found;
    return 0;
}

int CheckImageAgainstDisk(const FloppyType* image, const FloppyType& disk, MessageSink& sink) {
    if (image == nullptr || image == &disk) {
        return 0;
    }
    if (!image->classic || !disk.classic) {
        sink.Show(UserMessage{IDS_DISK_NEEDS_FORMAT, MessageStyle::Error, image->name});
        return -1;
    }
    if (image->highDensity != disk.highDensity) {
        const char* needed = image->highDensity ? "high density (HD)" : "double density (DD)";
        sink.Show(UserMessage{IDS_DISK_NEEDS_OTHER_DENSITY, MessageStyle::Error, needed});
        return -1;
    }
    // Both high density, formatted to the other size: say the size the image needs.
    sink.Show(UserMessage{IDS_DISK_NEEDS_OTHER_FORMAT, MessageStyle::Error, nullptr,
                          static_cast<long>(image->totalBytes / 1024)});
    return -1;
}
