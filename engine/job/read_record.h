#pragma once
#include <stdint.h>

#include "engine/device/floppy_type.h"
#include "engine/image/bad_sector_list.h"
#include "engine/image/image_check.h"
#include "engine/image/md5_digest.h"
#include "engine/image/sha256_digest.h"

// What a read job knows about the disk it read, handed out once the image is complete,
// for the log a front end keeps beside the image. Empty texts and zero counts until then.
struct ReadRecord {
    bool complete = false;
    char format[kFormatNameSize] = {};
    uint32_t sectors = 0;
    // The sectors the image holds as zeros, as its map lists them.
    BadSectorList badSectors;
    // Emergency mode's further tries of each bad sector; 0 in a normal read.
    uint32_t retries = 0;
    bool emergency = false;
    // Of the disk's bytes as they went into the image, trailer and stub left out.
    char diskSha256[Sha256Digest::kHexLength + 1] = {};
    char diskMd5[Md5Digest::kHexLength + 1] = {};
};
