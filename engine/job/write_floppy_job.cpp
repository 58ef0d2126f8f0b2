#include "engine/job/write_floppy_job.h"

#include <stdlib.h>

#include "engine/device/floppy_type.h"
#include "engine/image/image_data_check.h"
#include "engine/job/job_host_cancel.h"
#include "engine/job/job_text.h"
#include "engine/job/update_speed.h"
#include "resources/string_ids.h"

WriteFloppyJob::WriteFloppyJob(const JobRequest& request, JobHost& host,
                               FloppyDevice& device, const TrailerPolicy& trailers)
    : host_(host),
      outcome_(host.Messages()),
      device_(device),
      verify_(request.verify),
      cursor_(device.KeepsPosition()) {
    CopyJobText(driveText_, request.drive);
    CopyJobText(sourcePath_, request.imagePath);
    ReadSourceImage(sourcePath_, trailers, &source_);
}

WriteFloppyJob::WriteFloppyJob(const JobRequest& request, JobHost& host,
                               FloppyDeviceFactory& platform)
    : WriteFloppyJob(request, host, platform.DeviceFor(request.drive), platform.Trailers()) {}

WriteFloppyJob::~WriteFloppyJob() {
    CloseAll();
    free(image_);
}

int WriteFloppyJob::Run() {
    if (Prepare() != 0) {
        Post(JobNotice::Failed);
        return -1;
    }
    if (OpenInput() != 0 || LoadImage() != 0) {
        return -1;
    }
    if (!device_.Open(DeviceAccess::Write)) {
        return Fail(IDS_UNABLE_TO_OPEN, driveText_);
    }
    // Writing under open files would pull the disk from under them.
    if (device_.LockVolume(DeviceAccess::Write) == VolumeLock::InUse) {
        CloseAll();
        return Fail(IDS_FLOPPY_IN_USE, driveText_);
    }
    StartPass(JobPhase::Copy);
    if (Copy() != 0 || (verify_ && Verify() != 0)) {
        return -1;
    }
    CloseAll();
    Post(JobNotice::Finished);
    return 0;
}

// The disk's format, and whether it fits the image, before anything is written. The
// messages are shown by the checks themselves.
int WriteFloppyJob::Prepare() {
    const FloppyType* type = nullptr;
    if (DetermineFloppyType(device_, DeviceAccess::Write, driveText_, outcome_.Messages(),
                            &type) != 0) {
        return -1;
    }
    totalBytes_ = type->totalBytes;
    diskType_ = type;
    CopyJobText(progress_.sizeText, type->sizeText);
    // A foreign trailer's numbers, or none: the disk in the drive says what a whole
    // image is.
    imageBytes_ = source_.format != nullptr ? source_.format->totalBytes : type->totalBytes;
    return CheckImageAgainstDisk(source_.format, *type, outcome_.Messages());
}

int WriteFloppyJob::OpenInput() {
    const InputOpen opened = input_.Open(sourcePath_, source_);
    return opened == InputOpen::Opened ? 0 : Fail(InputOpenMessage(input_, opened, sourcePath_));
}

// Decoded once, checked whole, and the file let go before the drive is opened. The
// verify pass reads back into the chunk behind the image: one allocation for the stub.
int WriteFloppyJob::LoadImage() {
    image_ = static_cast<char*>(malloc(imageBytes_ + kChunkSize));
    readBack_ = image_ != nullptr ? image_ + imageBytes_ : nullptr;
    uint32_t found = 0;
    JobHostCancel cancel(host_);
    const InputRead read = image_ != nullptr ? input_.Load(image_, imageBytes_, &found, &cancel)
                                             : InputRead::Failed;
    input_.Close();
    switch (read) {
    case InputRead::Data:
        break;
    case InputRead::Cancelled:
        return -1;
    case InputRead::TooLarge:
        return Fail(IDS_IMAGE_TOO_LARGE, nullptr, static_cast<long>(kLargestFloppyBytes));
    default:
        return Fail(IDS_IMAGE_READ_FAILED);
    }
    const unsigned fault = CheckImageData(image_, found, imageBytes_, source_.checksum);
    if (fault == IDS_IMAGE_NOT_WHOLE_DISK) {
        return Fail(IDS_IMAGE_NOT_WHOLE_DISK, nullptr, static_cast<long>(found),
                    static_cast<long>(imageBytes_));
    }
    return fault != 0 ? Fail(fault) : 0;
}

// Every format's size is a whole number of chunks, so every write is a whole chunk.
int WriteFloppyJob::Copy() {
    static_assert(kChunkSize % FloppyDevice::kSectorSize == 0, "chunks of whole sectors");
    for (uint32_t done = 0; done < imageBytes_; done += kChunkSize) {
        const uint32_t left = imageBytes_ - done;
        const uint32_t chunk = left < kChunkSize ? left : kChunkSize;
        uint32_t error = 0;
        if (host_.CancelRequested()) {
            CloseAll();
            return -1;
        }
        if (!device_.Write(cursor_.NextSector(), image_ + done, chunk, &error)) {
            return FailWrite(error);
        }
        cursor_.Advance(chunk);
        if (ReportProgress(cursor_) != 0) {
            return -1;
        }
    }
    return 0;
}

// Each pass counts its percent, kilobytes and speed from nothing.
void WriteFloppyJob::StartPass(JobPhase phase) {
    progress_.phase = phase;
    progress_.percentDone = 0;
    progress_.kilobytesCopied = 0;
    progress_.speedText[0] = '0';
    progress_.speedText[1] = '\0';
    startSeconds_ = host_.NowSeconds();
}

// Shows how far the pass is and takes a cancel that came meanwhile: -1 when cancelled,
// the drive then closed.
int WriteFloppyJob::ReportProgress(const TransferCursor& cursor) {
    progress_.percentDone = cursor.Percent(totalBytes_);
    progress_.kilobytesCopied = cursor.Kilobytes();
    UpdateSpeed(progress_.kilobytesCopied, startSeconds_, host_.NowSeconds(), progress_.speedText);
    if (host_.CancelRequested()) {
        CloseAll();
        return -1;
    }
    Post(JobNotice::Progress);
    return 0;
}

int WriteFloppyJob::FailWrite(uint32_t error) {
    const bool gone = device_.MediumGone(error);
    CloseAll();
    if (gone) {
        return Fail(IDS_DRIVE_NOT_READY, driveText_);
    }
    if (device_.IsWriteProtectError(error)) {
        return Fail(IDS_WRITE_PROTECTED);
    }
    // Without a trailer the job could not compare formats: name the likely causes.
    const unsigned id =
        source_.sectorsPerTrack != 0 ? IDS_SECTOR_WRITE_FAILED : IDS_SECTOR_WRITE_FAILED_NO_TRAILER;
    return Fail(id, nullptr, static_cast<long>(error));
}

void WriteFloppyJob::CloseAll() {
    device_.Close();
    input_.Close();
}

void WriteFloppyJob::Post(JobNotice notice) {
    outcome_.NotePosted(notice);
    host_.Post(JobKind::Write, notice, progress_);
}

int WriteFloppyJob::Fail(unsigned messageId, const char* text, long number, long secondNumber) {
    return Fail(UserMessage{messageId, MessageStyle::Error, text, number, secondNumber});
}

int WriteFloppyJob::Fail(const UserMessage& message) {
    outcome_.Messages().Show(message);
    Post(JobNotice::Failed);
    return -1;
}
