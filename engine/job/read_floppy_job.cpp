#include "engine/job/read_floppy_job.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "engine/device/floppy_type.h"
#include "engine/device/sector_address.h"
#include "engine/files/temporary_target.h"
#include "engine/image/image_check.h"
#include "engine/image/image_kind.h"
#include "engine/image/image_trailer.h"
#include "engine/job/job_text.h"
#include "engine/job/read_retries.h"
#include "engine/job/rescue_text.h"
#include "engine/job/update_speed.h"
#include "resources/string_ids.h"

namespace {

constexpr uint32_t kSector = FloppyDevice::kSectorSize;

// ERROR_HANDLE_EOF: what a read that stopped short of a whole unit inside the disk
// reports, since the drive itself gave no error.
constexpr uint32_t kShortReadError = 38;

constexpr uint32_t kUnitSectors = ReadFloppyJob::kTransferUnit / kSector;

}  // namespace

ReadFloppyJob::ReadFloppyJob(const JobRequest& request, JobHost& host,
                             FloppyDevice& device, TargetFiles* files)
    : request_(request),
      host_(host),
      outcome_(host.Messages()),
      device_(device),
      unit_(kTransferUnit),
      buffer_(static_cast<char*>(malloc(unit_))),
      cursor_(device.KeepsPosition()),
      systemFiles_(true),
      files_(files != nullptr           ? *files
             : host.Files() != nullptr ? *host.Files()
                                       : systemFiles_),
      output_(files_) {
    CopyJobText(driveText_, request.drive);
    CopyJobText(targetPath_, request.imagePath);
    if (!BadSectorMapPath(targetPath_, mapPath_)) mapPath_[0] = '\0';
}

ReadFloppyJob::ReadFloppyJob(const JobRequest& request, JobHost& host,
                             FloppyDeviceFactory& platform)
    : ReadFloppyJob(request, host, platform.DeviceFor(request.drive),
                    host.Files() != nullptr ? host.Files() : platform.Files()) {}

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
    format_ = type;
    CopyJobText(progress_.sizeText, type->sizeText);
    unreadable_.Reset(totalBytes_ / kSector);
    if (request_.rereadMappedSectors && LoadEarlierRead() != 0) {
        return -1;
    }

    if (!device_.Open(DeviceAccess::Read)) {
        return Fail(IDS_UNABLE_TO_OPEN, driveText_);
    }
    // When it can, nothing changes the disk meanwhile; files open on it may still be
    // writing, and their image would be neither the old disk nor the new.
    if (device_.LockVolume(DeviceAccess::Read) == VolumeLock::InUse) {
        device_.Close();
        return Fail(IDS_FLOPPY_IN_USE, driveText_);
    }
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
    if (file != nullptr) fclose(file);  // NOLINT(cert-err33-c): read only
    if (!whole) {
        return Fail(IDS_IMAGE_READ_FAILED);
    }
    return 0;
}

int ReadFloppyJob::OpenOutput() {
    const bool compressed = ImageKindOf(targetPath_) != ImageKind::Raw;
    switch (output_.Open(targetPath_, compressed, host_.ProgramPath(), buffer_)) {
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

// One request to the drive, taken only while no cancel has come. A read that moves less
// than was asked for inside the disk is a failure: the image would lose its alignment
// with the disk. A failure past the disk's end says nothing about the medium.
ReadFloppyJob::DiskRead ReadFloppyJob::Request(uint32_t firstSector, char* into, uint32_t bytes,
                                               uint32_t* error) {
    *error = 0;
    if (host_.CancelRequested()) {
        mediumGone_ = false;
        return DiskRead::Stopped;
    }
    uint32_t transferred = 0;
    if (!device_.Read(firstSector, into, bytes, &transferred, error)) {
        mediumGone_ = firstSector < totalBytes_ / kSector && device_.MediumGone(*error);
        return mediumGone_ ? DiskRead::Stopped : DiskRead::Failed;
    }
    if (transferred != bytes) {
        *error = kShortReadError;
        return DiskRead::Failed;
    }
    return DiskRead::Done;
}

// The unit that follows the previous one.
ReadFloppyJob::DiskRead ReadFloppyJob::ReadUnit(uint32_t* error) {
    return Request(cursor_.NextSector(), buffer_, unit_, error);
}

ReadFloppyJob::DiskRead ReadFloppyJob::ReadSector(uint32_t sector, char* into, uint32_t* error) {
    return Request(sector, into, kSector, error);
}

// A weak sector often reads once the head comes back to it from elsewhere, where it
// would fail again and again from the same place.
ReadFloppyJob::DiskRead ReadFloppyJob::ReadSectorAgain(uint32_t sector, char* into,
                                                       uint32_t* error) {
    const uint32_t retries = ClampReadRetries(request_.retries);
    for (uint32_t attempt = 0; attempt < retries; ++attempt) {
        if (!MoveHeadAway(sector)) return DiskRead::Stopped;
        const DiskRead read = ReadSector(sector, into, error);
        if (read != DiskRead::Failed) return read;
    }
    return DiskRead::Failed;
}

// Reads one sector on the half of the disk away from `sector`: whether that read works
// does not matter, only that the head travelled. False when the job stops instead.
bool ReadFloppyJob::MoveHeadAway(uint32_t sector) {
    const uint32_t cylinders = format_->cylinders;
    const uint32_t cylinder =
        AddressOfSector(sector, format_->sectorsPerTrack, format_->heads).cylinder;
    const uint32_t far = cylinder < cylinders / 2 ? cylinders - 1 : 0;
    uint32_t error = 0;
    return Request(far * format_->heads * format_->sectorsPerTrack, headScratch_, kSector,
                   &error) !=
           DiskRead::Stopped;
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
        char* into = buffer_ + static_cast<size_t>(i) * kSector;
        uint32_t error = 0;
        DiskRead read = ReadSector(first + i, into, &error);
        const bool emergency = read == DiskRead::Failed && request_.emergency;
        if (emergency) read = ReadSectorAgain(first + i, into, &error);
        if (read == DiskRead::Stopped) return Stop();
        if (read == DiskRead::Done) continue;
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
        const DiskRead read = ReadUnit(&error);
        if (read == DiskRead::Stopped) {
            return Stop();
        }
        // The disk is complete; this last read is not used.
        if (cursor_.Kilobytes() >= totalBytes_ / 1024) {
            return Complete();
        }
        if (read == DiskRead::Failed && ReadUnitBySector() != 0) {
            return -1;
        }
        checksum_.Update(buffer_, unit_);
        md5_.Update(buffer_, unit_);
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
// image once the disk has shown it is the one that image came from. A sector that reads
// takes its place in the copy; one that fails again keeps what the image holds and stays
// on the map.
int ReadFloppyJob::Reread() {
    if (CheckSameDisk() != 0) {
        return -1;
    }
    const uint32_t wanted = toReread_.Count();
    uint32_t done = 0;
    for (uint32_t sector = 0; sector < toReread_.Total(); ++sector) {
        if (!toReread_.IsBad(sector)) continue;
        uint32_t error = 0;
        DiskRead read = ReadSector(sector, buffer_, &error);
        if (read == DiskRead::Failed) read = ReadSectorAgain(sector, buffer_, &error);
        if (read == DiskRead::Stopped) return Stop();
        if (read == DiskRead::Done) {
            memcpy(earlierImage_ + static_cast<size_t>(sector) * kSector, buffer_, kSector);
        } else {
            unreadable_.Mark(sector, true);
            progress_.badSectors = unreadable_.Count();
        }
        ++done;
        if (ReportProgress(done * 100 / wanted, done * kSector / 1024) != 0) {
            return -1;
        }
    }
    checksum_.Update(earlierImage_, totalBytes_);
    md5_.Update(earlierImage_, totalBytes_);
    if (output_.Write(earlierImage_, totalBytes_) != 0) {
        StopAndRemoveImage();
        return Fail(IDS_IMAGE_WRITE_FAILED);
    }
    return Complete();
}

// Another disk in the drive would have its sectors merged into this one's image. The
// boot sector and the unmapped sectors of every unit that holds a mapped one must read as
// the image holds them; one that does not read tells nothing either way.
int ReadFloppyJob::CheckSameDisk() {
    for (uint32_t sector = 0; sector < toReread_.Total(); ++sector) {
        if (!ComparedWithImage(sector)) continue;
        uint32_t error = 0;
        const DiskRead read = ReadSector(sector, buffer_, &error);
        if (read == DiskRead::Stopped) return Stop();
        if (read == DiskRead::Done &&
            memcmp(buffer_, earlierImage_ + static_cast<size_t>(sector) * kSector, kSector) != 0) {
            StopAndRemoveImage();
            return Fail(IDS_NOT_THE_SAME_DISK, targetPath_);
        }
    }
    return 0;
}

bool ReadFloppyJob::ComparedWithImage(uint32_t sector) const {
    if (toReread_.IsBad(sector)) return false;
    if (sector == 0) return true;
    const uint32_t first = sector - sector % kUnitSectors;
    for (uint32_t s = first; s < first + kUnitSectors; ++s) {
        if (toReread_.IsBad(s)) return true;
    }
    return false;
}

// Ends the job where a request to the drive stopped it, the target as it was: quietly
// for a cancel, as a failure for a medium that has gone.
int ReadFloppyJob::Stop() {
    StopAndRemoveImage();
    return mediumGone_ ? Fail(IDS_DRIVE_NOT_READY, driveText_) : -1;
}

int ReadFloppyJob::Complete() {
    device_.Close();
    if (output_.Finish() != 0) {
        output_.Abandon();
        return Fail(IDS_IMAGE_WRITE_FAILED);
    }
    char checksum[Sha256Digest::kHexLength + 1];
    checksum_.FinishHex(checksum);
    const uint32_t zeroFilled = unreadable_.Count() + keptBadSectors_;
    // Only a whole image, trailer included and on stable storage, may take the target's
    // place.
    if ((TakesTrailer(targetPath_, request_.compatible) &&
         output_.AppendTrailer(request_.description, *format_, checksum,
                               static_cast<int>(zeroFilled)) != 0) ||
        output_.Close() != 0) {
        output_.Abandon();
        return Fail(IDS_IMAGE_WRITE_FAILED);
    }
    // The front end reports a cancel as soon as it is asked for, so one that came while
    // the image was completed still wins, up to the moment the image takes its place.
    if (host_.CancelRequested()) {
        output_.Abandon();
        return -1;
    }
    if (PutInPlace() != 0) {
        return -1;
    }
    NoteRecord(checksum);
    const uint32_t unreadable = unreadable_.Count();
    if (unreadable > 0) {
        char text[kRecoveryTextSize];
        FormatRecoveryText(text, unreadable_.Total() - unreadable, unreadable_.Total(), unreadable,
                           mapPath_);
        outcome_.Messages().Show(UserMessage{IDS_SECTORS_RECOVERED, MessageStyle::Warning, text});
    }
    Post(JobNotice::Finished);
    return 0;
}

// The image and its map take their places together, the map first: an earlier read's
// map would list sectors this image holds, and a later re-read would zero them. Until the
// image is in place the earlier map waits under a name of its own, to go back should the
// image not take its place; then nothing has changed. The earlier image's map goes with it.
int ReadFloppyJob::PutInPlace() {
    const bool mapped = unreadable_.Count() > 0;
    TemporaryTarget map(files_);
    if (mapped && WriteMap(map) != 0) {
        output_.Abandon();
        return Fail(IDS_UNABLE_TO_CREATE, mapPath_);
    }
    TemporaryTarget aside(files_);
    const int earlier = SetEarlierMapAside(aside);
    if (earlier < 0 || (mapped && map.Commit() != 0)) {
        if (earlier > 0) aside.Commit();
        output_.Abandon();
        return Fail(IDS_UNABLE_TO_CREATE, mapPath_);
    }
    if (output_.Commit() != 0) {
        if (earlier > 0) {
            aside.Commit();
        } else if (mapped) {
            files_.Remove(mapPath_);
        }
        return Fail(IDS_UNABLE_TO_CREATE, targetPath_);
    }
    aside.Discard();
    return 0;
}

// Moves the map beside the target, if there is one, into `aside`: 1 when it was moved,
// 0 when there was none, -1 when it is there and stays.
int ReadFloppyJob::SetEarlierMapAside(TemporaryTarget& aside) {
    if (mapPath_[0] == '\0') return 0;
    FILE* file = fopen(mapPath_, "rb");
    if (file == nullptr) {
        // None, or one not even readable, which no re-read could use either.
        return files_.Remove(mapPath_) ? 0 : -1;
    }
    fclose(file);  // NOLINT(cert-err33-c): read only
    // The empty file only reserves the name: it is closed, then the map takes its place.
    if (aside.Create(mapPath_) != 0 || aside.Close() != 0 ||
        files_.Replace(mapPath_, aside.Path()) != Replacement::Done) {
        return -1;
    }
    return 1;
}

// The map beside the image, written whole under its temporary name in `map`.
int ReadFloppyJob::WriteMap(TemporaryTarget& map) {
    if (mapPath_[0] == '\0' || map.Create(mapPath_) != 0) return -1;
    // Binary, as the image: ddrescue's tools expect plain line feeds.
    return WriteBadSectorMap(map.Stream(), unreadable_) == 0 && map.Close() == 0 ? 0 : -1;
}

void ReadFloppyJob::NoteRecord(const char (&checksum)[Sha256Digest::kHexLength + 1]) {
    record_.complete = true;
    FormatName(*format_, record_.format);
    record_.sectors = totalBytes_ / kSector;
    record_.badSectors = unreadable_;
    record_.emergency = request_.emergency;
    record_.retries = request_.emergency ? ClampReadRetries(request_.retries) : 0;
    memcpy(record_.diskSha256, checksum, sizeof record_.diskSha256);
    md5_.FinishHex(record_.diskMd5);
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
    FormatSectorPrefix(prefix, sector, format_->sectorsPerTrack, format_->heads);
    return Fail(IDS_SECTOR_READ_FAILED_AT, prefix, static_cast<long>(error));
}
