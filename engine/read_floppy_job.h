#pragma once
#include <stdint.h>

#include "engine/bad_sector_list.h"
#include "engine/bad_sector_map.h"
#include "engine/device_method.h"
#include "engine/floppy_device.h"
#include "engine/image_output.h"
#include "engine/job_host.h"
#include "engine/job_outcome_recorder.h"
#include "engine/job_request.h"
#include "engine/sha256_digest.h"
#include "engine/target_files.h"
#include "engine/transfer_cursor.h"

// Copies every sector of the disk into the image file `imagePath` of the request,
// of the kind its extension names, in transfer units of 20 sectors. A unit that will not
// read is read again sector by sector; a sector that still fails ends the read with
// its address, except in emergency mode, which tries it again (`retries` times, moving
// the head away and back before each) and then carries on with zeros in its place,
// listing it in the bad-sector map beside the image and counting it in the trailer.
// An emergency read with `rereadMappedSectors` reads only the sectors the image's map
// lists, into a copy of that image.
// Reports through the host: Progress notices, Finished once on success, Failed after its
// message on any failure, nothing when cancelled. The image is made beside the file of
// that name, which it replaces only once it is complete: a read that fails or is
// cancelled leaves that file as it was, or none, and no partial image. Built and run on
// the worker thread; it closes the device and the image on every path.
class ReadFloppyJob {
public:
    static constexpr uint32_t kTransferUnit = 10240;

    // `files`: the operations on the image's files; the system's when none are given.
    ReadFloppyJob(const JobRequest& request, JobHost& host, FloppyDevice& device,
                  DeviceMethod method, TargetFiles* files = nullptr);
    ~ReadFloppyJob();
    ReadFloppyJob(const ReadFloppyJob&) = delete;
    ReadFloppyJob& operator=(const ReadFloppyJob&) = delete;

    // 0 when the image is complete; -1 when the job failed or was cancelled.
    int Run();

    // How the job ended, once Run has returned: what the front end gets back.
    JobOutcome Outcome() const { return outcome_.Outcome(); }

private:
    int LoadEarlierRead();
    int OpenOutput();
    int Copy();
    int Reread();
    bool ReadUnit(uint32_t* error);
    int ReadUnitBySector();
    bool ReadSector(uint32_t sector, char* into, uint32_t* error);
    bool ReadSectorAgain(uint32_t sector, char* into, uint32_t* error);
    void MoveHeadAway(uint32_t sector);
    void NoteUnreadable(uint32_t sector, char* into);
    int Complete();
    int WriteMap();
    int ReportProgress(uint32_t percent, uint32_t kilobytes);
    void Post(JobNotice notice);
    int Fail(unsigned messageId, const char* text = nullptr, long number = 0);
    int FailAtSector(uint32_t sector, uint32_t error);
    void StopAndRemoveImage();

    const JobRequest& request_;
    JobHost& host_;
    JobOutcomeRecorder outcome_;  // every message of the job goes through it to the host
    FloppyDevice& device_;
    char driveText_[kJobPathSize];  // "A:", or a device path on Linux
    char targetPath_[kJobPathSize];
    char mapPath_[kBadSectorMapPathSize];
    uint32_t unit_;
    char* buffer_;
    char* earlierImage_ = nullptr;  // the image being read again, all of its sectors
    char headScratch_[FloppyDevice::kSectorSize];
    uint32_t totalBytes_ = 0xFFFFFFFF;  // not known until the floppy type is
    uint32_t diskSectorsPerTrack_ = 0;
    int64_t startSeconds_ = 0;
    TransferCursor cursor_;
    SystemTargetFiles systemFiles_;
    TargetFiles& files_;
    ImageOutput output_;
    Sha256Digest checksum_;  // of the sector data as it goes into the image
    BadSectorList unreadable_;  // what the image holds as zeros
    BadSectorList toReread_;    // an earlier read's map
    JobProgress progress_{};
};
