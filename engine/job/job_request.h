#pragma once
#include <stdint.h>

#include "engine/image/image_trailer.h"
#include "engine/job/job_host.h"


// How often an emergency read tries a sector again that would not read.
constexpr uint32_t kDefaultReadRetries = 3;
constexpr uint32_t kMostReadRetries = 20;

// One job as a front end asks for it: which job, which image, which drive and how. It
// is a plain value: a dialog, the restorer stub or a terminal front end fills one in, and
// the job reads it through its whole run. The front end refuses a path too long for its
// buffer before it gets here.
struct JobRequest {
    JobKind kind = JobKind::Read;
    // The image to make (Read) or to write (Write). Its kind follows from its name, and
    // the job reads the format and checksum of an image to write from its trailer itself.
    char imagePath[kJobPathSize] = {};
    char description[kDescriptionBufferSize] = {};  // for the trailer of the image made
    // Write: after the last write, read the whole disk back and compare it with the image.
    bool verify = false;
    // Read: "" reads the drive; else the sectors come from this image file (any kind,
    // checked as before a write), which is never changed: a conversion between kinds.
    char sourceImagePath[kJobPathSize] = {};

    // The settings the job runs with; no settings record reaches the jobs. The drive is
    // "A:" or "B:", or a device path on Linux.
    char drive[kJobPathSize] = {'A', ':', '\0'};
    bool emergency = false;
    bool compatible = false;
    // Emergency read: further tries of a sector that would not read (up to
    // kMostReadRetries), each after the head has been moved away and back.
    uint32_t retries = kDefaultReadRetries;
    // Emergency read onto an existing ".img" whose bad-sector map lists sectors: read only
    // those again, into a copy of that image, instead of the whole disk.
    bool rereadMappedSectors = false;
};
