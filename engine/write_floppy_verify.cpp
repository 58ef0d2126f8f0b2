// The write job's second pass: the disk read back and compared with the image in memory.
#include <string.h>

#include "engine/disk_address.h"
#include "engine/write_floppy_job.h"
#include "resources/string_ids.h"

int WriteFloppyJob::Verify() {
    if (OpenForVerify() != 0) {
        return -1;
    }
    StartPass(JobPhase::Verify);
    Post(JobNotice::Progress);  // the dialog shows the pass at once, not after a chunk
    TransferCursor cursor(method_);
    for (uint32_t done = 0; done < imageBytes_; done += kChunkSize) {
        const uint32_t left = imageBytes_ - done;
        const uint32_t chunk = left < kChunkSize ? left : kChunkSize;
        uint32_t badSector = 0;
        if (!SameChunk(cursor.NextSector(), done, chunk, &badSector)) {
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

// True when the chunk at `firstSector` holds the image's bytes from `offset`; else the
// first sector that differs or cannot be read. Which sector of a chunk that failed to
// read is bad, and whether one in front of it differs, only the sectors read one by one
// tell; a chunk whose every sector then reads and matches is on the disk as it should be.
bool WriteFloppyJob::SameChunk(uint32_t firstSector, uint32_t offset, uint32_t bytes,
                               uint32_t* badSector) {
    const uint32_t size = FloppyDevice::kSectorSize;
    uint32_t transferred = 0;
    uint32_t error = 0;
    const bool whole = device_.Read(firstSector, readBack_, bytes, &transferred, &error) &&
                       transferred == bytes;
    for (uint32_t at = 0; at < bytes; at += size) {
        const uint32_t sector = firstSector + at / size;
        const bool read = whole || (device_.Read(sector, readBack_ + at, size, &transferred, &error) &&
                                    transferred == size);
        if (!read || memcmp(readBack_ + at, image_ + offset + at, size) != 0) {
            *badSector = sector;
            return false;
        }
    }
    return true;
}

int WriteFloppyJob::FailVerify(uint32_t badSector) {
    const DiskAddress where = AddressOfSector(badSector, sectorsPerTrack_);
    UserMessage message{IDS_VERIFY_MISMATCH, MessageStyle::Error};
    message.number = static_cast<long>(badSector);
    message.secondNumber = static_cast<long>(where.cylinder);
    message.thirdNumber = static_cast<long>(where.head);
    message.fourthNumber = static_cast<long>(where.sector);
    return Fail(message);
}
