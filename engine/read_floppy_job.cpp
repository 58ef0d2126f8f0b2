#include "engine/read_floppy_job.h"

#include <stdlib.h>
#include <string.h>

#include "engine/floppy_type.h"
#include "engine/image_kind.h"
#include "engine/image_trailer.h"
#include "engine/job_text.h"
#include "engine/update_speed.h"
#include "resources/string_ids.h"

namespace {

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
      unit_(host.Emergency() ? kEmergencyTransferUnit : kTransferUnit),
      buffer_(static_cast<char*>(malloc(unit_))),
      cursor_(method),
      // The device method follows the system's family, and so does the way to replace.
      systemFiles_(method == DeviceMethod::Nt),
      output_(files != nullptr ? *files : systemFiles_) {
    CopyJobText(driveText_, host.DriveText());
    CopyJobText(targetPath_, request.imagePath);
}

ReadFloppyJob::~ReadFloppyJob() {
    device_.Close();
    free(buffer_);
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

    if (!device_.Open(DeviceAccess::Read)) {
        return Fail(IDS_UNABLE_TO_OPEN, driveText_);
    }
    device_.LockVolume(DeviceAccess::Read);  // when it can: nothing changes the disk meanwhile
    if (OpenOutput() != 0) {
        return -1;
    }
    startSeconds_ = host_.NowSeconds();
    return Copy();
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

int ReadFloppyJob::Copy() {
    for (;;) {
        uint32_t error = 0;
        const bool read = ReadUnit(&error);
        // The disk is complete; this last read is not used.
        if (cursor_.Kilobytes() >= totalBytes_ / 1024) {
            return Complete();
        }
        if (!read) {
            if (!host_.Emergency()) {
                StopAndRemoveImage();
                return Fail(IDS_SECTOR_READ_FAILED, nullptr, static_cast<long>(error));
            }
            // What could not be read is zeros in the image, never a neighbour's bytes.
            memset(buffer_, 0, unit_);
        }
        checksum_.Update(buffer_, unit_);
        if (output_.Write(buffer_, unit_) != 0) {
            StopAndRemoveImage();
            return Fail(IDS_IMAGE_WRITE_FAILED);
        }
        cursor_.Advance(unit_);
        progress_.percentDone = cursor_.Percent(totalBytes_);
        progress_.kilobytesCopied = cursor_.Kilobytes();
        UpdateSpeed(progress_.kilobytesCopied, startSeconds_, host_.NowSeconds(),
                    progress_.speedText);
        if (host_.CancelRequested()) {
            StopAndRemoveImage();
            return -1;
        }
        Post(JobNotice::Progress);
    }
}

int ReadFloppyJob::Complete() {
    device_.Close();
    if (output_.Finish() != 0) {
        output_.Abandon();
        return Fail(IDS_IMAGE_WRITE_FAILED);
    }
    char checksum[Sha256Digest::kHexLength + 1];
    checksum_.FinishHex(checksum);
    if (!(host_.Compatible() && HasExtension(targetPath_, ".img")) &&
        AppendImageTrailer(output_.FilePath(), request_.description,
                           static_cast<int>(diskSectorsPerTrack_), checksum) != 0) {
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
    Post(JobNotice::Finished);
    return 0;
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
