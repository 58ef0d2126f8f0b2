// The write job's second pass: the disk read back and compared with the image in memory.
#include <string.h>

#include "engine/device/sector_address.h"
#include "engine/job/write_floppy_job.h"
#include "resources/string_ids.h"

int WriteFloppyJob::Verify() {
    if (OpenForVerify() != 0) {
        return -1;
    }
    StartPass(JobPhase::Verify);
    Post(JobNotice::Progress);  // the dialog shows the pass at once, not after a chunk
    TransferCursor cursor(device_.KeepsPosition());
    for (uint32_t done = 0; done < imageBytes_; done += kChunkSize) {
        const uint32_t left = imageBytes_ - done;
        const uint32_t chunk = left < kChunkSize ? left : kChunkSize;
        uint32_t badSector = 0;
        const ReadBack same = SameChunk(cursor.NextSector(), done, chunk, &badSector);
        if (same == ReadBack::Stopped) {
            return Stop();
        }
        if (same == ReadBack::Failed) {
            CloseAll();
            return FailVerify(badSector);
        }
        cursor.Advance(chunk);
        if (ReportProgress(cursor) != 0) {
            return -1;
        }
    }
    return 0;
}

// A handle opened for writing need not read (on NT it may not), so the drive is opened
// again; the lock is taken when it can be, as for any read.
int WriteFloppyJob::OpenForVerify() {
    device_.Close();
    if (!device_.Open(DeviceAccess::Read)) {
        return Fail(IDS_UNABLE_TO_OPEN, driveText_);
    }
    device_.LockVolume(DeviceAccess::Read);
    return 0;
}

// Read when the chunk at `firstSector` holds the image's bytes from `offset`; Failed with
// the first sector that differs or cannot be read. Which sector of a chunk that failed to
// read is bad, and whether one in front of it differs, only the sectors read one by one
// tell; a chunk whose every sector then reads and matches is on the disk as it should be.
WriteFloppyJob::ReadBack WriteFloppyJob::SameChunk(uint32_t firstSector, uint32_t offset,
                                                   uint32_t bytes, uint32_t* badSector) {
    const uint32_t size = FloppyDevice::kSectorSize;
    const ReadBack whole = ReadFromDisk(firstSector, readBack_, bytes);
    if (whole == ReadBack::Stopped) return whole;
    for (uint32_t at = 0; at < bytes; at += size) {
        const uint32_t sector = firstSector + at / size;
        const ReadBack read =
            whole == ReadBack::Read ? whole : ReadFromDisk(sector, readBack_ + at, size);
        if (read == ReadBack::Stopped) return read;
        if (read == ReadBack::Failed || memcmp(readBack_ + at, image_ + offset + at, size) != 0) {
            *badSector = sector;
            return ReadBack::Failed;
        }
    }
    return ReadBack::Read;
}

// One read of the pass, taken only while no cancel has come.
WriteFloppyJob::ReadBack WriteFloppyJob::ReadFromDisk(uint32_t firstSector, char* into,
                                                      uint32_t bytes) {
    if (host_.CancelRequested()) {
        mediumGone_ = false;
        return ReadBack::Stopped;
    }
    uint32_t transferred = 0;
    uint32_t error = 0;
    if (device_.Read(firstSector, into, bytes, &transferred, &error)) {
        return transferred == bytes ? ReadBack::Read : ReadBack::Failed;
    }
    mediumGone_ = device_.MediumGone(error);
    return mediumGone_ ? ReadBack::Stopped : ReadBack::Failed;
}

// Ends the pass where a read stopped it: quietly for a cancel, as a failure for a medium
// that has gone.
int WriteFloppyJob::Stop() {
    CloseAll();
    return mediumGone_ ? Fail(IDS_DRIVE_NOT_READY, driveText_) : -1;
}

int WriteFloppyJob::FailVerify(uint32_t badSector) {
    const SectorAddress where =
        AddressOfSector(badSector, diskType_->sectorsPerTrack, diskType_->heads);
    UserMessage message{IDS_VERIFY_MISMATCH, MessageStyle::Error};
    message.number = static_cast<long>(badSector);
    message.secondNumber = static_cast<long>(where.cylinder);
    message.thirdNumber = static_cast<long>(where.head);
    message.fourthNumber = static_cast<long>(where.sector);
    return Fail(message);
}
