#pragma once
#include <stdint.h>

#include "engine/device/floppy_device.h"
#include "platform/user_message.h"

// One of the standard PC floppy formats, 512-byte sectors each. Every format holds a
// different number of bytes, so an image's data size names its format.
struct FloppyType {
    uint32_t cylinders;        // 40 or 80
    uint32_t heads;            // 1 or 2
    uint32_t sectorsPerTrack;  // 8 to 36
    uint32_t totalBytes;       // cylinders x heads x sectors per track x 512
    const char* sizeText;      // what the progress dialog shows, e.g. "1440 kB"
    const char* name;          // what the reports show, e.g. "1440 kB, 3.5-inch high density"
    bool highDensity;          // for the density message between the 3.5-inch formats
    // One of the three formats that trailers have always named by their sectors per track
    // alone; the others add their sector count.
    bool classic;
};

// The largest disk of any format (2880 kB): no image of one holds more data, so a reader
// may stop there.
constexpr uint32_t kLargestFloppyBytes = 2949120;

inline uint32_t TotalSectors(const FloppyType& type) {
    return type.totalBytes / FloppyDevice::kSectorSize;
}

// What a drive of `type` answers; all zeros, which names no format, for nullptr.
DiskGeometry GeometryOf(const FloppyType* type);

// The classic format with this many sectors per track (9, 18, 21), or nullptr: what a
// trailer without a sector count means.
const FloppyType* FindFloppyType(uint32_t sectorsPerTrack);
// The format whose disk holds exactly `bytes`; nullptr when none does.
const FloppyType* FindFloppyTypeOfSize(uint64_t bytes);
// The format a drive's answer describes: its total sectors or else its cylinders, heads
// and sectors per track name one format, and every other value it gives agrees with it;
// without cylinders and total, the sectors per track name a classic format. nullptr for
// anything else.
const FloppyType* FindFloppyTypeOfGeometry(const DiskGeometry& geometry);
// The format a trailer names: its sector count (0 without one) with its sectors per
// track, which must agree, or its sectors per track alone. nullptr when it names none.
const FloppyType* FindFloppyTypeOfTrailer(int32_t sectorsPerTrack, int32_t totalSectors);
// The sector count a trailer of this format carries: 0 (no field) for a classic format.
int TrailerTotalSectors(const FloppyType& type);
// The formats, smallest first, and how many there are.
const FloppyType* FloppyTypes(uint32_t* count);

// Asks the drive (opened in `access` and closed again) for the medium's format. On
// success returns 0 and sets *type. Otherwise the user has been told - "Unable to open"
// with `driveText`, or "Unable to determine floppy disk type" - and -1 is returned.
int DetermineFloppyType(FloppyDevice& device, DeviceAccess access, const char* driveText,
                        MessageSink& sink, const FloppyType** type);

// Before writing: does the disk in the drive fit the image? `image` is the format the
// image's trailer names, nullptr when it names none. Returns 0 when it fits (or cannot
// be judged); -1 after telling the user which disk is needed.
int CheckImageAgainstDisk(const FloppyType* image, const FloppyType& disk, MessageSink& sink);
