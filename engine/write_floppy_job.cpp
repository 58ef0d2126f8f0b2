#include "engine/write_floppy_job.h"

#include <stdlib.h>

#include "engine/floppy_type.h"
#include "engine/image_trailer.h"
#include "engine/job_text.h"
#include "engine/update_speed.h"
#include "resources/string_ids.h"

WriteFloppyJob::WriteFloppyJob(const JobRequest& request, JobHost& host,
                               FloppyDevice& device, DeviceMethod method)
    : host_(host),
      outcome_(host.Messages()),
      device_(device),
      imageSectorsPerTrack_(request.imageSectorsPerTrack),
      compressed_(request.compressed),
      buffer_(static_cast<char*>(malloc(kChunkSize))),
      cursor_(method) {
    CopyJobText(driveText_, host.DriveText());
    CopyJobText(sourcePath_, request.imagePath);
}

WriteFloppyJob::~WriteFloppyJob() {
    CloseAll();
    free(buffer_);
}

int WriteFloppyJob::Run() {
    if (buffer_ == nullptr || Prepare() != 0) {
        Post(JobNotice::Failed);
        return -1;
    }
    if (!device_.Open(DeviceAccess::Write)) {
        return Fail(IDS_UNABLE_TO_OPEN, driveText_);
    }
    if (OpenInput() != 0) {
        return -1;
    }
    startSeconds_ = host_.NowSeconds();
    return Copy();
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
    CopyJobText(progress_.sizeText, type->sizeText);
    return CheckImageAgainstDisk(imageSectorsPerTrack_, type->sectorsPerTrack,
                                 outcome_.Messages());
}

int WriteFloppyJob::OpenInput() {
    switch (input_.Open(sourcePath_, compressed_)) {
    case InputOpen::Opened:
        return 0;
    case InputOpen::NoImageInExe:
        device_.Close();
        return Fail(IDS_EXE_HAS_NO_IMAGE);
    case InputOpen::DecompressorNotOpened:
        device_.Close();
        return Fail(IDS_DECOMPRESSOR_NOT_OPENED, sourcePath_);
    case InputOpen::NotOpened:
        break;
    }
    device_.Close();
    return Fail(IDS_UNABLE_TO_OPEN, sourcePath_);
}

// A chunk of nothing ends every image; a last chunk of exactly a trailer's length is the
// trailer of a raw image. A compressed stream holds no trailer: all it gives is data.
bool WriteFloppyJob::IsEndOfImage(unsigned chunk) const {
    return chunk == 0 || (!compressed_ && chunk == kImageTrailerSize);
}

int WriteFloppyJob::Copy() {
    for (;;) {
        unsigned chunk = 0;
        if (input_.Read(buffer_, &chunk) != InputRead::Data) {
            CloseAll();
            return Fail(IDS_IMAGE_READ_FAILED);
        }
        if (IsEndOfImage(chunk)) {
            CloseAll();
            Post(JobNotice::Finished);
            return 0;
        }
        // Whole sectors only; the padding is whatever the buffer held there.
        const uint32_t padded =
            (chunk + FloppyDevice::kSectorSize - 1) / FloppyDevice::kSectorSize *
            FloppyDevice::kSectorSize;
        uint32_t error = 0;
        if (!device_.Write(cursor_.NextSector(), buffer_, padded, &error)) {
            return FailWrite(error);
        }
        cursor_.Advance(padded);
        progress_.percentDone = cursor_.Percent(totalBytes_);
        progress_.kilobytesCopied = cursor_.Kilobytes();
        UpdateSpeed(progress_.kilobytesCopied, startSeconds_, host_.NowSeconds(),
                    progress_.speedText);
        if (host_.CancelRequested()) {
            CloseAll();
            return -1;
        }
        Post(JobNotice::Progress);
    }
}

int WriteFloppyJob::FailWrite(uint32_t error) {
    CloseAll();
    if (device_.IsWriteProtectError(error)) {
        return Fail(IDS_WRITE_PROTECTED);
    }
    // Without a trailer the job could not compare formats: name the likely causes.
    const unsigned id =
        imageSectorsPerTrack_ != 0 ? IDS_SECTOR_WRITE_FAILED : IDS_SECTOR_WRITE_FAILED_NO_TRAILER;
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

int WriteFloppyJob::Fail(unsigned messageId, const char* text, long number) {
    outcome_.Messages().Show(UserMessage{messageId, MessageStyle::Error, text, number});
    Post(JobNotice::Failed);
    return -1;
}
