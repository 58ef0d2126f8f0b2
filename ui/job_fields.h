#pragma once
#include <stddef.h>

#include <string>

#include "engine/job_host.h"  // JobKind

// Modal results of a job's progress dialog.
constexpr int kJobFinished = 0;
constexpr int kJobFailed = 1;
constexpr int kJobCancelled = 2;

// The longest path the jobs take: their buffers are MAX_PATH (260) with the zero.
constexpr size_t kLongestImagePath = 259;

// What the main dialog knows about the job it may start; the job's own status record is
// filled from these fields when the job starts.
struct JobFields {
    std::string writeImagePath;    // image to write onto the floppy
    std::string readImagePath;     // image to create from the floppy
    std::string description;       // for the image to create
    bool compressed = false;       // the chosen image is ".imz" or ".exe"
    bool commandLineMode = false;  // one unattended job from the command line
    int imageSectorsPerTrack = 0;  // from the trailer of the image to write; 0 unknown
};
