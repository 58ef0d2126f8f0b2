#pragma once
#include <stdint.h>

#include <atomic>

#include "engine/image_trailer.h"
#include "engine/progress_sync.h"

// The notices a job posts to its notify window, as the message's first parameter; the
// second is always 0. The message numbers are the application's own (WM_APP + 1, + 2).
enum class JobNotice : uint32_t {
    Progress = 0,
    Finished = 1,
    Failed = 2,
};

constexpr unsigned WM_READ_PROGRESS = 0x8001;
constexpr unsigned WM_WRITE_PROGRESS = 0x8002;

constexpr int kJobPathSize = 260;  // MAX_PATH

class ProgressDialog;  // the window layer's

// The status record that the main dialog holds for its whole life and that one job at a
// time shares. The main dialog fills the request fields before a start and reads the
// progress when a notice arrives; the job never writes anything but `progress`, and that
// only through its host.
struct JobContext {
    void* notifyWindow = nullptr;  // the window that receives the notices (an HWND)

    // percentDone, kilobytesCopied, speedText and sizeText of the running job.
    ProgressSync progress;

    // Set by the window thread when the user cancels; the job looks once per unit.
    std::atomic<uint32_t> cancelRequested{0};

    uint32_t compressed = 0;  // 1 for ".imz" and ".exe", 0 for ".img"
    char description[kDescriptionBufferSize] = {};  // for a new image's trailer
    char writeSourcePath[kJobPathSize] = {};        // the image to write to a disk
    char readTargetPath[kJobPathSize] = {};         // the image to make from a disk
    int32_t imageSectorsPerTrack = 0;  // from the source's trailer; 0 when it has none

    ProgressDialog* progressDialog = nullptr;  // owned by the window layer while a job runs
    uint32_t commandLineMode = 0;              // the run was started by /r or /w
};
