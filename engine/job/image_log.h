#pragma once
#include <stdint.h>

#include <string>

#include "engine/image/sha256_digest.h"
#include "engine/job/read_record.h"

// The log a read keeps beside its image, "<image>.log": one "Key: value" line per fact,
// UTF-8, for the chain of custody of an archive's disks. Composed here alone, so both
// programs write the same keys in the same order.

constexpr char kImageLogExtension[] = ".log";

// What the front end knows beyond the job's record.
struct ImageLogFacts {
    std::string version;
    std::string command;  // the command line as given
    std::string device;   // the drive or device read
    std::string description;
    int64_t started = 0;   // seconds since 1970-01-01 UTC
    int64_t finished = 0;
    char imageSha256[Sha256Digest::kHexLength + 1] = {};  // of the image file as written
};

// "2026-12-10T05:11:57Z" for `seconds` since 1970-01-01 UTC.
std::string IsoUtcTime(int64_t seconds);

// "0", or the count and the runs of the map: "3 (0x00000A00+0x00000400, 0x0000C800+0x00000200)".
std::string BadSectorsText(const BadSectorList& list);

std::string ComposeImageLog(const ImageLogFacts& facts, const ReadRecord& record);

// Writes `text` to the new file `path`, flushed: 0, or -1 when any of it was not written
// (the file then removed).
int WriteLogFile(const std::string& path, const std::string& text);
