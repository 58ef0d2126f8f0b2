#pragma once
#include <stdint.h>

#include "engine/device/floppy_device.h"
#include "engine/device/floppy_type.h"
#include "engine/device/transfer_cursor.h"
#include "engine/files/target_files.h"
#include "engine/files/temporary_target.h"
#include "engine/image/bad_sector_list.h"
#include "engine/image/bad_sector_map.h"
#include "engine/image/image_output.h"
#include "engine/image/md5_digest.h"
#include "engine/image/sha256_digest.h"
#include "engine/job/floppy_device_factory.h"
#include "engine/job/job_host.h"
#include "engine/job/job_outcome_recorder.h"
#include "engine/job/job_request.h"
#include "engine/job/read_record.h"

// Copies every sector of the disk into the image file `imagePath` of the request,
// of the kind its extension names, in transfer units of 20 sectors. A unit that will not
// read is read again sector by sector; a sector that still fails ends the read with
// its address, except in emergency mode, which tries it again (`retries` times, moving
// the head away and back before each) and then carries on with zeros in its place,
// listing it in the bad-sector map beside the image and counting it in the trailer.
// An emergency read with `rereadMappedSectors` reads only the sectors the image's map
// lists, into a copy of that image: once the sectors around them and the boot sector read
// as the image holds them (else IDS_NOT_THE_SAME_DISK), a mapped sector that reads takes
// its place in the copy, one that fails again keeps the image's bytes and its place on
// the map.
// Reports through the host: Progress notices, Finished once on success, Failed after its
// message on any failure, nothing when cancelled. A cancel is taken before every request
// to the drive; a medium that has gone (FloppyDevice::MediumGone) ends the job at once
// (IDS_DRIVE_NOT_READY) in every mode, a disk whose files are open (VolumeLock::InUse)
// before it is read (IDS_FLOPPY_IN_USE). The image is made beside the file of that name,
// which it replaces only once it is complete, its map first and taken back should the
// image fail to take its place: a read that fails or is cancelled leaves that file and
// its map as they were, or none, and no partial image. Built and run on the worker
// thread; it closes the device and the image on every path.
class ReadFloppyJob {
public:
    static constexpr uint32_t kTransferUnit = 10240;

    // `files`: the operations on the image's files; else the host's, else the system's
    // of one-step replacement.
    ReadFloppyJob(const JobRequest& request, JobHost& host, FloppyDevice& device,
                  TargetFiles* files = nullptr);
    // Over the device and files of the running program's `platform` (the host's files,
    // where it records them, before the platform's).
    ReadFloppyJob(const JobRequest& request, JobHost& host, FloppyDeviceFactory& platform);
    ~ReadFloppyJob();
    ReadFloppyJob(const ReadFloppyJob&) = delete;
    ReadFloppyJob& operator=(const ReadFloppyJob&) = delete;

    // 0 when the image is complete; -1 when the job failed or was cancelled.
    int Run();

    // How the job ended, once Run has returned: what the front end gets back.
    JobOutcome Outcome() const { return outcome_.Outcome(); }

    // Before Run: sectors the disk read here already holds as zeros for want of their
    // data (a rescued image being converted); the new image's trailer counts them too.
    void KeepBadSectors(uint32_t count) { keptBadSectors_ = count; }

    // Once Run has returned 0: the disk's format, bad sectors, retries and hashes, for a
    // log beside the image. Incomplete (`complete` false) after any other end.
    const ReadRecord& Record() const { return record_; }

private:
    // What became of one request to the drive.
    enum class DiskRead {
        Done,     // every byte asked for arrived
        Failed,   // a bad sector or a short read, as `error` tells
        Stopped,  // the job ends here: cancelled, or the medium has gone (Stop tells which)
    };

    int LoadEarlierRead();
    int OpenOutput();
    int Copy();
    int Reread();
    int CheckSameDisk();
    bool ComparedWithImage(uint32_t sector) const;
    DiskRead Request(uint32_t firstSector, char* into, uint32_t bytes, uint32_t* error);
    DiskRead ReadUnit(uint32_t* error);
    int ReadUnitBySector();
    DiskRead ReadSector(uint32_t sector, char* into, uint32_t* error);
    DiskRead ReadSectorAgain(uint32_t sector, char* into, uint32_t* error);
    bool MoveHeadAway(uint32_t sector);
    void NoteUnreadable(uint32_t sector, char* into);
    int Stop();
    int Complete();
    int PutInPlace();
    int SetEarlierMapAside(TemporaryTarget& aside);
    int WriteMap(TemporaryTarget& map);
    int ReportProgress(uint32_t percent, uint32_t kilobytes);
    void Post(JobNotice notice);
    int Fail(unsigned messageId, const char* text = nullptr, long number = 0);
    int FailAtSector(uint32_t sector, uint32_t error);
    void StopAndRemoveImage();
    void NoteRecord(const char (&checksum)[Sha256Digest::kHexLength + 1]);

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
    const FloppyType* format_ = nullptr;  // of the disk, once known
    uint32_t keptBadSectors_ = 0;
    bool mediumGone_ = false;  // why the last Stopped request stopped; else a cancel
    int64_t startSeconds_ = 0;
    TransferCursor cursor_;
    SystemTargetFiles systemFiles_;  // where neither the platform nor the host gives any
    TargetFiles& files_;
    ImageOutput output_;
    Sha256Digest checksum_;  // of the sector data as it goes into the image
    Md5Digest md5_;          // the same, for the log's second hash
    ReadRecord record_;
    BadSectorList unreadable_;  // what the image holds as zeros
    BadSectorList toReread_;    // an earlier read's map
    JobProgress progress_{};
};
