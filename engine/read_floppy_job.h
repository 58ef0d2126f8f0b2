#pragma once
#include <stdint.h>

#include "engine/device_method.h"
#include "engine/floppy_device.h"
#include "engine/image_output.h"
#include "engine/job_context.h"
#include "engine/job_host.h"
#include "engine/transfer_cursor.h"

// Copies every sector of the disk into the image file `readTargetPath` of the context,
// of the kind its extension names, in transfer units of 20 sectors (one sector in
// emergency mode, which carries on past unreadable sectors). Reports through the host:
// WM_READ_PROGRESS notices, Finished once on success, Failed after its message on any
// failure, nothing when cancelled - the partial image is then deleted. Built and run on
// the worker thread; it closes the device and the image on every path.
class ReadFloppyJob {
public:
    static constexpr uint32_t kTransferUnit = 10240;
    static constexpr uint32_t kEmergencyTransferUnit = FloppyDevice::kSectorSize;

    ReadFloppyJob(JobContext& context, JobHost& host, FloppyDevice& device, DeviceMethod method);
    ~ReadFloppyJob();
    ReadFloppyJob(const ReadFloppyJob&) = delete;
    ReadFloppyJob& operator=(const ReadFloppyJob&) = delete;

    // 0 when the image is complete; -1 when the job failed or was cancelled.
    int Run();

private:
    int OpenOutput();
    int Copy();
    bool ReadUnit(uint32_t* error);
    int Complete();
    void Post(JobNotice notice);
    int Fail(unsigned messageId, const char* text = nullptr, long number = 0);
    void StopAndRemoveTarget();

    JobContext& context_;
    JobHost& host_;
    FloppyDevice& device_;
    char driveText_[8];
    char targetPath_[kJobPathSize];
    uint32_t unit_;
    char* buffer_;
    uint32_t totalBytes_ = 0xFFFFFFFF;  // not known until the floppy type is
    uint32_t diskSectorsPerTrack_ = 0;
    int64_t startSeconds_ = 0;
    TransferCursor cursor_;
    ImageOutput output_;
    JobProgress progress_{};
};
