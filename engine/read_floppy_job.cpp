#include "engine/read_floppy_job.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "engine/floppy_type.h"
#include "engine/image_kind.h"
#include "engine/image_trailer.h"
#include "engine/job_text.h"
#include "engine/rescue_text.h"
#include "engine/sector_address.h"
#include "engine/temporary_target.h"
#include "engine/update_speed.h"
#include "resources/string_ids.h"

namespace {

constexpr uint32_t kSector = FloppyDevice::kSectorSize;

// ERROR_HANDLE_EOF: what a read that stopped short of a whole unit inside the disk
// reports, since the drive itself gave no error.
constexpr uint32_t kShortReadError = 38;

}  // namespace

ReadFloppyJob::ReadFloppyJob(const JobRequest& request, JobHost& host,
                             FloppyDevice& device, DeviceMethod method, TargetFiles* files)
    : request_(request),
      host_(host),
      outcome_(host.Messages()),
      device_(device),
      unit_(kTransferUnit),
      buffer_(static_cast<char*>(malloc(unit_))),
      cursor_(method),
      // The device method follows the system's family, and so does the way to replace.
      systemFiles_(method == DeviceMethod::Nt),
      files_(files != nullptr ? *files : systemFiles_),
      output_(files_) {
    CopyJobText(driveText_, host.DriveText());
    CopyJobText(targetPath_, request.imagePath);
    if (!BadSectorMapPath(targetPath_, mapPath_)) mapPath_[0] = '\0';
}

ReadFloppyJob::~ReadFloppyJob() {
    device_.Close();
    free(buffer_);
    free(earlierImage_);
}

int ReadFloppyJob::Run() {
    if (buffer_ == nullptr) {
        Post(JobNotice::Failed);
        return -1;
    }
    const FloppyType* type = nullptr;
    if (DetermineFloppyType(device_, DeviceAccess::Read, driveText_, outcome_.Messages(),
                            &type) != 0) {
        Post(JobNotice::Failed);
        return -1;
    }
    totalBytes_ = type->totalBytes;
    diskSectorsPerTrack_ = type->sectorsPerTrack;
    CopyJobText(progress_.sizeText, type->sizeText);
    unreadable_.Reset(totalBytes_ / kSector);
    if (request_.rereadMappedSectors && LoadEarlierRead() != 0) {
        return -1;
    }

    if (!device_.Open(DeviceAccess::Read)) {
        return Fail(IDS_UNABLE_TO_OPEN, driveText_);
    }
    device_.LockVolume(DeviceAccess::Read);  // when it can: nothing changes the disk meanwhile
    if (OpenOutput() != 0) {
        return -1;
    }
    startSeconds_ = host_.NowSeconds();
    return request_.rereadMappedSectors ? Reread() : Copy();
}

// The map and the sectors of the image an earlier read made of this disk. Neither is
// changed: the new image is a copy.
int ReadFloppyJob::LoadEarlierRead() {
    if (ReadBadSectorMap(mapPath_, totalBytes_ / kSector, toReread_) != 0) {
        return Fail(IDS_UNABLE_TO_OPEN, mapPath_);
    }
    earlierImage_ = static_cast<char*>(malloc(totalBytes_));
    FILE* file = fopen(targetPath_, "rb");
    const bool whole = earlierImage_ != nullptr && file != nullptr &&
                       fread(earlierImage_, 1, totalBytes_, file) == totalBytes_;
    if (file != nullptr) fclose(file);
    if (!whole) {
        return Fail(IDS_IMAGE_READ_FAILED);
    }
    return 0;
}

int ReadFloppyJob::OpenOutput() {
    switch (output_.Open(targetPath_, request_.compressed, host_.ProgramPath(), buffer_)) {
    case OutputOpen::Opened:
        return 0;
    case OutputOpen::ProgramNotOpened:
        device_.Close();
        return Fail(IDS_CANNOT_OPEN_PROGRAM_FILE, host_.ProgramPath());
    case OutputOpen::NotCreated:
        break;
    }
    device_.Close();
    return Fail(IDS_UNABLE_TO_CREATE, targetPath_);
}

// Reads the unit that follows the previous one. A read that moves less than a whole
// unit inside the disk is a failure: the image would lose its alignment with the disk.
bool ReadFloppyJob::ReadUnit(uint32_t* error) {
    uint32_t transferred = 0;
    *error = 0;
    if (!device_.Read(cursor_.NextSector(), buffer_, unit_, &transferred, error)) {
        return false;
    }
    if (transferred != unit_) {
        *error = kShortReadError;
        return false;
    }
    return true;
}

bool ReadFloppyJob::ReadSector(uint32_t sector, char* into, uint32_t* error) {
    uint32_t transferred = 0;
    *error = 0;
    if (!device_.Read(sector, into, kSector, &transferred, error)) {
        return false;
    }
    if (transferred != kSector) {
        *error = kShortReadError;
        return false;
    }
    return true;
}

// A weak sector often reads once the head comes back to it from elsewhere, where it
// would fail again and again from the same place.
bool ReadFloppyJob::ReadSectorAgain(uint32_t sector, char* into, uint32_t* error) {
    const uint32_t retries =
        request_.retries < kMostReadRetries ? request_.retries : kMostReadRetries;
    for (uint32_t attempt = 0; attempt < retries; ++attempt) {
        MoveHeadAway(sector);
        if (ReadSector(sector, into, error)) return true;
    }
    return false;
}

// Reads one sector on the half of the disk away from `sector`: whether that read works
// does not matter, only that the head travelled.
void ReadFloppyJob::MoveHeadAway(uint32_t sector) {
    const uint32_t cylinders = totalBytes_ / kSector / (2 * diskSectorsPerTrack_);
    const uint32_t cylinder = AddressOfSector(sector, diskSectorsPerTrack_).cylinder;
    const uint32_t far = cylinder < cylinders / 2 ? cylinders - 1 : 0;
    uint32_t transferred = 0;
    uint32_t error = 0;
    device_.Read(far * 2 * diskSectorsPerTrack_, headScratch_, kSector, &transferred, &error);
}

// What could not be read is zeros in the image, never a neighbour's bytes.
void ReadFloppyJob::NoteUnreadable(uint32_t sector, char* into) {
    memset(into, 0, kSector);
    unreadable_.Mark(sector, true);
    progress_.badSectors = unreadable_.Count();
}

// The unit that would not read, one sector at a time: one weak sector then costs only
// itself. Whether a sector that still fails is passed over is asked at each one.
int ReadFloppyJob::ReadUnitBySector() {
    const uint32_t first = cursor_.NextSector();
    for (uint32_t i = 0; i < unit_ / kSector; ++i) {
        char* into = buffer_ + i * kSector;
        uint32_t error = 0;
        if (ReadSector(first + i, into, &error)) continue;
        const bool emergency = host_.Emergency();
        if (emergency && ReadSectorAgain(first + i, into, &error)) continue;
        if (!emergency) {
            StopAndRemoveImage();
            return FailAtSector(first + i, error);
        }
        NoteUnreadable(first + i, into);
    }
    return 0;
}

int ReadFloppyJob::Copy() {
    for (;;) {
        uint32_t error = 0;
        const bool read = ReadUnit(&error);
        // The disk is complete; this last read is not used.
        if (cursor_.Kilobytes() >= totalBytes_ / 1024) {
            return Complete();
        }
        if (!read && ReadUnitBySector() != 0) {
            return -1;
        }
        checksum_.Update(buffer_, unit_);
        if (output_.Write(buffer_, unit_) != 0) {
            StopAndRemoveImage();
            return Fail(IDS_IMAGE_WRITE_FAILED);
        }
        cursor_.Advance(unit_);
        if (ReportProgress(cursor_.Percent(totalBytes_), cursor_.Kilobytes()) != 0) {
            return -1;
        }
    }
}

// Shows how far the job is and takes a cancel that came meanwhile: -1 when cancelled,
// the image then removed.
int ReadFloppyJob::ReportProgress(uint32_t percent, uint32_t kilobytes) {
    progress_.percentDone = percent;
    progress_.kilobytesCopied = kilobytes;
    UpdateSpeed(progress_.kilobytesCopied, startSeconds_, host_.NowSeconds(), progress_.speedText);
    if (host_.CancelRequested()) {
        StopAndRemoveImage();
        return -1;
    }
    Post(JobNotice::Progress);
    return 0;
}

// Only the sectors the earlier read lost, each with its retries, into the copy of its
// image; what still fails stays zeros and on the map.
int ReadFloppyJob::Reread() {
    const uint32_t wanted = toReread_.Count();
    uint32_t done = 0;
    for (uint32_t sector = 0; sector < toReread_.Total(); ++sector) {
        if (!toReread_.IsBad(sector)) continue;
        char* into = earlierImage_ + static_cast<size_t>(sector) * kSector;
        uint32_t error = 0;
        if (!ReadSector(sector, into, &error) && !ReadSectorAgain(sector, into, &error)) {
            NoteUnreadable(sector, into);
        }
        ++done;
        if (ReportProgress(done * 100 / wanted, done * kSector / 1024) != 0) {
            return -1;
        }
    }
    checksum_.Update(earlierImage_, totalBytes_);
    if (output_.Write(earlierImage_, totalBytes_) != 0) {
        StopAndRemoveImage();
        return Fail(IDS_IMAGE_WRITE_FAILED);
    }
    return Complete();
}

int ReadFloppyJob::Complete() {
    device_.Close();
    if (output_.Finish() != 0) {
        output_.Abandon();
        return Fail(IDS_IMAGE_WRITE_FAILED);
    }
    char checksum[Sha256Digest::kHexLength + 1];
    checksum_.FinishHex(checksum);
    const uint32_t unreadable = unreadable_.Count();
    if (!(host_.Compatible() && HasExtension(targetPath_, ".img")) &&
        AppendImageTrailer(output_.FilePath(), request_.description,
                           static_cast<int>(diskSectorsPerTrack_), checksum,
                           static_cast<int>(unreadable)) != 0) {
        // Only a whole image, trailer included, may take the target's place.
        output_.Abandon();
        return Fail(IDS_IMAGE_WRITE_FAILED);
    }
    // The front end reports a cancel as soon as it is asked for, so one that came while
    // the image was completed still wins, up to the moment the image takes its place.
    if (host_.CancelRequested()) {
        output_.Abandon();
        return -1;
    }
    if (output_.Commit() != 0) {
        return Fail(IDS_UNABLE_TO_CREATE, targetPath_);
    }
    // An earlier read's map would list sectors this image holds: it goes with the image
    // it described. The rescued image stays even when its map cannot be made: the disk
    // may not give its sectors a second time.
    if (unreadable == 0) {
        files_.Remove(mapPath_);
    } else {
        if (WriteMap() != 0) {
            return Fail(IDS_UNABLE_TO_CREATE, mapPath_);
        }
        char text[kRecoveryTextSize];
        FormatRecoveryText(text, unreadable_.Total() - unreadable, unreadable_.Total(), unreadable,
                           mapPath_);
        outcome_.Messages().Show(UserMessage{IDS_SECTORS_RECOVERED, MessageStyle::Warning, text});
    }
    Post(JobNotice::Finished);
    return 0;
}

// The map beside the image, made as the image is: complete, or not at all.
int ReadFloppyJob::WriteMap() {
    TemporaryTarget map(files_);
    if (mapPath_[0] == '\0' || map.Create(mapPath_) != 0) return -1;
    FILE* file = fopen(map.Path(), "wb");  // ddrescue's tools expect plain line feeds
    if (file == nullptr) return -1;
    const bool written = WriteBadSectorMap(file, unreadable_) == 0;
    if (fclose(file) != 0 || !written) return -1;
    return map.Commit();
}

void ReadFloppyJob::StopAndRemoveImage() {
    output_.Abandon();
    device_.Close();
}

void ReadFloppyJob::Post(JobNotice notice) {
    outcome_.NotePosted(notice);
    host_.Post(JobKind::Read, notice, progress_);
}

int ReadFloppyJob::Fail(unsigned messageId, const char* text, long number) {
    outcome_.Messages().Show(UserMessage{messageId, MessageStyle::Error, text, number});
    Post(JobNotice::Failed);
    return -1;
}

int ReadFloppyJob::FailAtSector(uint32_t sector, uint32_t error) {
    char prefix[kSectorPrefixSize];
    FormatSectorPrefix(prefix, sector, diskSectorsPerTrack_);
    return Fail(IDS_SECTOR_READ_FAILED_AT, prefix, static_cast<long>(error));
}
