#pragma once
#include <stdint.h>

#include "engine/device/floppy_device.h"
#include "platform/user_message.h"

// One of the three 3.5-inch formats the program knows. The drive's sectors per track is
// the only thing asked of it; the total size comes from this table, not from the
// cylinders, heads and sector size the drive reports.
struct FloppyType {
    uint32_t sectorsPerTrack;  // 9, 18 or 21
    uint32_t totalBytes;       // sectors per track x 512 bytes x 2 sides x 80 cylinders
    const char* sizeText;      // what the progress dialog shows, e.g. "1440 kB"
    bool highDensity;
};

// The largest disk of any format (21 sectors per track): no image of one holds more data,
// so a reader may stop there.
constexpr uint32_t kLargestFloppyBytes = 1720320;

// The type with this many sectors per track, or nullptr for any format we do not know.
const FloppyType* FindFloppyType(uint32_t sectorsPerTrack);
// The format whose disk holds exactly `bytes`; nullptr when none does.
const FloppyType* FindFloppyTypeOfSize(uint64_t bytes);

// Asks the drive (opened in `access` and closed again) for the medium's format. On
// success returns 0 and sets *type. Otherwise the user has been told - "Unable to open"
// with `driveText`, or "Unable to determine floppy disk type" - and -1 is returned.
int DetermineFloppyType(FloppyDevice& device, DeviceAccess access, const char* driveText,
                        MessageSink& sink, const FloppyType** type);

// Before writing: does the disk in the drive fit the image? `imageSectorsPerTrack` is the
// value from the image's trailer, 0 when it has none. Returns 0 when it fits (or cannot
// be judged); -1 after telling the user which disk is needed.
int CheckImageAgainstDisk(int32_t imageSectorsPerTrack, uint32_t diskSectorsPerTrack,
                          MessageSink& sink);
