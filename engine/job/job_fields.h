#pragma once
#include <stddef.h>
#include <stdint.h>

#include <string>

#include "engine/job/job_outcome.h"
#include "engine/job/job_request.h"

// A job's ends as numbers: the results of the start operations and the modal results of
// the progress dialog (Cancel and Escape end it with IDCANCEL, 2).
constexpr int kJobFinished = static_cast<int>(JobEnd::Finished);
constexpr int kJobFailed = static_cast<int>(JobEnd::Failed);
constexpr int kJobCancelled = static_cast<int>(JobEnd::Cancelled);

// The longest path the jobs take: their buffers are MAX_PATH (260) with the zero.
constexpr size_t kLongestImagePath = kJobPathSize - 1;

// What a front end knows about the job it may start; the job's request is made from
// these fields when the job starts.
struct JobFields {
    std::string writeImagePath;    // image to write onto the floppy
    std::string readImagePath;     // image to create from the floppy
    std::string description;       // for the image to create
    // A conversion: the image the read takes its sectors from instead of the drive.
    std::string sourceImagePath;
    bool compressed = false;       // the chosen image is not raw: ".imz", ".exe" or ".zip"
    bool commandLineMode = false;  // one unattended job from the command line
    bool rereadMappedSectors = false;  // the read takes only the sectors an earlier one lost
};

// The user's choices a start takes into account and passes on to its job: the Windows
// program's settings, the terminal program's options.
struct StartChoices {
    char drive[kJobPathSize] = {'A', ':', '\0'};
    bool compatible = false;  // raw images without trailer: asked about before a read
    bool emergency = false;
    bool suppress = false;    // no confirmation questions; the re-read is taken
    bool verify = false;
    bool sound = false;       // the completion sound
    uint32_t retries = kDefaultReadRetries;
};

// The request for a job of `kind` from the fields (paths and description cut to the
// request's buffers, which the start checks have already made sure they fit) and the
// choices it runs with.
JobRequest MakeJobRequest(JobKind kind, const JobFields& fields, const StartChoices& choices);
