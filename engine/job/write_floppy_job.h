#pragma once
#include <stdint.h>

#include "engine/device/floppy_device.h"
#include "engine/device/floppy_type.h"
#include "engine/device/transfer_cursor.h"
#include "engine/image/image_input.h"
#include "engine/job/floppy_device_factory.h"
#include "engine/job/job_host.h"
#include "engine/job/job_outcome_recorder.h"
#include "engine/job/job_request.h"

// Writes the image file `imagePath` of the request onto the disk from sector 0, in
// chunks of 10,240 bytes. The job reads the image's trailer itself, under the running
// program's `trailers` policy, for the format and the checksum. Before the drive is opened for writing, the disk's format must
// fit the image and the whole image is read into memory and checked: a stream that does
// not decode to its end is a failed read, and the data must be exactly one disk of the
// format the trailer names (its sectors per track, with its sector count where it has
// one), else of the disk in the drive. So a bad image leaves the disk as it was, and only image data reaches it; a
// raw image's trailer never does. Nor is a disk written whose volume lock is refused
// because files on it are open (IDS_FLOPPY_IN_USE). Reports through the host: Progress
// notices, Finished once on success, Failed after its message on any failure, nothing
// when cancelled. With `verify` the whole disk is then read back and compared with the
// image still in memory, as a second pass with progress of its own (JobPhase::Verify);
// the first sector that differs or cannot be read is reported (IDS_VERIFY_MISMATCH) and
// the job fails. A cancel is taken before every request to the drive, and a medium that
// has gone (FloppyDevice::MediumGone) ends either pass at once (IDS_DRIVE_NOT_READY).
// The source is never changed. Built and run on the worker thread; it
// closes the device (releasing its lock) and the image on every path. Shared with the
// restorer stub: no allocation but its one buffer (at most a 2,949,120-byte image and
// one chunk read back), no library beyond stdio and bzip2.
class WriteFloppyJob {
public:
    static constexpr uint32_t kChunkSize = ImageInput::kChunkSize;

    WriteFloppyJob(const JobRequest& request, JobHost& host, FloppyDevice& device,
                   const TrailerPolicy& trailers = kProgramTrailerPolicy);
    // Over the device and the trailer policy of the running program's `platform`.
    WriteFloppyJob(const JobRequest& request, JobHost& host, FloppyDeviceFactory& platform);
    ~WriteFloppyJob();
    WriteFloppyJob(const WriteFloppyJob&) = delete;
    WriteFloppyJob& operator=(const WriteFloppyJob&) = delete;

    // 0 when the whole image is on the disk; -1 when the job failed or was cancelled.
    int Run();

    // How the job ended, once Run has returned: what the front end gets back.
    JobOutcome Outcome() const { return outcome_.Outcome(); }

private:
    // What became of one read of the verify pass.
    enum class ReadBack {
        Read,     // every byte asked for arrived
        Failed,   // a bad sector: the read-back differs there
        Stopped,  // cancelled, or the medium has gone: the job ends here
    };

    int Prepare();
    int OpenInput();
    int LoadImage();
    int Copy();
    int FailWrite(uint32_t error);
    // The read-back pass (engine/job/write_floppy_verify.cpp).
    int Verify();
    int OpenForVerify();
    ReadBack ReadFromDisk(uint32_t firstSector, char* into, uint32_t bytes);
    ReadBack SameChunk(uint32_t firstSector, uint32_t offset, uint32_t bytes,
                       uint32_t* badSector);
    int Stop();
    int FailVerify(uint32_t badSector);
    void StartPass(JobPhase phase);
    int ReportProgress(const TransferCursor& cursor);
    void Post(JobNotice notice);
    int Fail(unsigned messageId, const char* text = nullptr, long number = 0,
             long secondNumber = 0);
    int Fail(const UserMessage& message);
    void CloseAll();

    JobHost& host_;
    JobOutcomeRecorder outcome_;  // every message of the job goes through it to the host
    FloppyDevice& device_;
    char driveText_[kJobPathSize];  // "A:", or a device path on Linux
    char sourcePath_[kJobPathSize];
    SourceImage source_;  // kind, format and checksum, read once from the image itself
    bool verify_;
    const FloppyType* diskType_ = nullptr;  // of the disk in the drive, once known
    char* image_ = nullptr;             // the whole image, once loaded
    char* readBack_ = nullptr;          // one chunk behind the image, for the verify pass
    uint32_t imageBytes_ = 0;           // what the format needs, and the image holds
    uint32_t totalBytes_ = 0xFFFFFFFF;  // not known until the floppy type is
    int64_t startSeconds_ = 0;
    bool mediumGone_ = false;  // why the last Stopped read stopped; else a cancel
    TransferCursor cursor_;
    ImageInput input_;
    JobProgress progress_{};
};
