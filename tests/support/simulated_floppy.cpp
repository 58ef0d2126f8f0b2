#include "tests/support/simulated_floppy.h"

#include <string.h>

SimulatedFloppy::SimulatedFloppy(uint32_t sectorsPerTrack, Flavour flavour)
    : flavour_(flavour),
      sectorsPerTrack_(sectorsPerTrack),
      heads_(2),
      disk_(static_cast<size_t>(sectorsPerTrack) * kSectorSize * 2 * 80) {
    reported_.sectorsPerTrack = sectorsPerTrack;
    for (size_t i = 0; i < disk_.size(); ++i) {
        disk_[i] = PatternByte(static_cast<uint32_t>(i));
    }
}

SimulatedFloppy::SimulatedFloppy(const FloppyType& format, Flavour flavour)
    : flavour_(flavour),
      sectorsPerTrack_(format.sectorsPerTrack),
      heads_(format.heads),
      disk_(format.totalBytes) {
    reported_.cylinders = format.cylinders;
    reported_.heads = format.heads;
    reported_.sectorsPerTrack = format.sectorsPerTrack;
    reported_.totalSectors = TotalSectors(format);
    for (size_t i = 0; i < disk_.size(); ++i) {
        disk_[i] = PatternByte(static_cast<uint32_t>(i));
    }
}

uint8_t SimulatedFloppy::PatternByte(uint32_t offset) {
    const uint32_t sector = offset / kSectorSize;
    const uint32_t within = offset % kSectorSize;
    if (within < 4) {
        // An odd multiplier keeps the stamps of different sectors apart.
        const uint32_t stamp = (sector + 1) * 2654435761u;
        return static_cast<uint8_t>(stamp >> (8 * within));
    }
    return static_cast<uint8_t>(sector * 7 + within + 1);
}

void SimulatedFloppy::MakeUnreadable(uint32_t sector, uint32_t error) {
    unreadable_[sector] = error;
}

void SimulatedFloppy::MakeFlaky(uint32_t sector, uint32_t failures, uint32_t error) {
    flaky_[sector] = Flaky{failures, error};
}

void SimulatedFloppy::NoteHead(uint32_t firstSector) {
    const uint32_t cylinder = CylinderOf(firstSector);
    if (headMoves_.empty() || headMoves_.back() != cylinder) headMoves_.push_back(cylinder);
}

// The first weak sector in the range that still has failures to give uses one up.
bool SimulatedFloppy::FlakyFault(uint32_t first, uint32_t count, uint32_t* sector,
                                 uint32_t* error) {
    for (auto it = flaky_.lower_bound(first); it != flaky_.end() && it->first - first < count; ++it) {
        if (it->second.failuresLeft == 0) continue;
        --it->second.failuresLeft;
        *sector = it->first;
        *error = it->second.error;
        return true;
    }
    return false;
}

void SimulatedFloppy::ChangeAfterWrite(uint32_t sector, uint32_t offset) {
    changedAfterWrite_[sector] = offset % kSectorSize;
}

void SimulatedFloppy::FailWriteAt(uint32_t sector, uint32_t error) {
    writeFaults_[sector] = error;
}

void SimulatedFloppy::FailOpen(bool inQuery, bool inTransferOpen) {
    failQueryOpen_ = inQuery;
    failTransferOpen_ = inTransferOpen;
}

bool SimulatedFloppy::MediumSectorsPerTrack(uint32_t* sectorsPerTrack) const {
    if (failQuery_) {
        return false;
    }
    *sectorsPerTrack = reported_.sectorsPerTrack;
    return true;
}

bool SimulatedFloppy::MediumGeometry(DiskGeometry* geometry) const {
    if (failQuery_) {
        return false;
    }
    *geometry = reported_;
    return true;
}

bool SimulatedFloppy::EveryOpenClosed() const {
    for (const OpenRecord& record : opens_) {
        if (record.opened && !record.closed) {
            return false;
        }
    }
    return true;
}

DeviceQuery SimulatedFloppy::QueryGeometry(DeviceAccess access, DiskGeometry* geometry) {
    if (!OpenOne(access, failQueryOpen_)) {
        return DeviceQuery::OpenFailed;
    }
    opens_.back().closed = true;  // the query's handle lives only for the question
    return MediumGeometry(geometry) ? DeviceQuery::Ok : DeviceQuery::QueryFailed;
}

bool SimulatedFloppy::Open(DeviceAccess access) {
    if (!OpenOne(access, failTransferOpen_)) {
        return false;
    }
    open_ = true;
    openAccess_ = access;
    position_ = 0;
    return true;
}

bool SimulatedFloppy::OpenOne(DeviceAccess access, bool failing) {
    opens_.push_back(OpenRecord{access, !failing, false});
    return !failing;
}

VolumeLock SimulatedFloppy::LockVolume(DeviceAccess access) {
    locks_.push_back(LockRecord{access, open_, static_cast<uint32_t>(transfers_.size())});
    if (!open_) {
        return VolumeLock::Unsupported;
    }
    lockHeld_ = lockAnswer_ == VolumeLock::Locked;
    return lockAnswer_;
}

void SimulatedFloppy::Close() {
    lockHeld_ = false;
    if (!open_) {
        return;
    }
    // The newest transfer open is the one in use; an earlier unclosed one was leaked.
    for (auto it = opens_.rbegin(); it != opens_.rend(); ++it) {
        if (it->opened && !it->closed) {
            it->closed = true;
            break;
        }
    }
    open_ = false;
}

bool SimulatedFloppy::MediumGone(uint32_t error) {
    return error == kNotReady && Vanished();
}

bool SimulatedFloppy::IsWriteProtectError(uint32_t error) const {
    return error == (flavour_ == Flavour::Nt ? kNtWriteProtect : kVwin32WriteProtect);
}

void SimulatedFloppy::NotePosition(uint32_t firstSector) {
    if (flavour_ == Flavour::Nt && firstSector != position_) {
        ++seeks_;
        position_ = firstSector;
    }
}

bool SimulatedFloppy::FindFault(const std::map<uint32_t, uint32_t>& faults, uint32_t first,
                                uint32_t count, uint32_t* sector, uint32_t* error) const {
    auto it = faults.lower_bound(first);
    if (it == faults.end() || it->first - first >= count) {
        return false;
    }
    *sector = it->first;
    *error = it->second;
    return true;
}

bool SimulatedFloppy::Fail(bool write, uint32_t firstSector, uint32_t bytes, uint32_t code,
                           uint32_t* error) {
    transfers_.push_back(Transfer{write, firstSector, bytes, false});
    *error = code;
    return false;
}

bool SimulatedFloppy::Read(uint32_t firstSector, void* buffer, uint32_t bytes,
                           uint32_t* transferred, uint32_t* error) {
    *transferred = 0;
    if (!open_) {
        return Fail(false, firstSector, bytes, kNotOpen, error);
    }
    if (Vanished()) {
        return Fail(false, firstSector, bytes, kNotReady, error);
    }
    if (bytes % kSectorSize != 0) {
        return Fail(false, firstSector, bytes, kInvalidParameter, error);
    }
    if (flavour_ == Flavour::Nt && openAccess_ != DeviceAccess::Read) {
        return Fail(false, firstSector, bytes, kAccessDenied, error);
    }
    NotePosition(firstSector);
    NoteHead(firstSector);
    const uint32_t total = SectorCount();
    const uint32_t wanted = bytes / kSectorSize;
    uint32_t count = wanted;
    if (firstSector >= total || total - firstSector < wanted) {
        if (flavour_ == Flavour::Vwin32) {
            return Fail(false, firstSector, bytes, kSectorNotFound, error);
        }
        count = firstSector >= total ? 0 : total - firstSector;  // a file-like end of disk
    }
    uint32_t bad = 0;
    uint32_t code = 0;
    if (FindFault(unreadable_, firstSector, count, &bad, &code) ||
        FlakyFault(firstSector, count, &bad, &code)) {
        // The sectors in front of the bad one may already have reached the buffer.
        memcpy(buffer, &disk_[static_cast<size_t>(firstSector) * kSectorSize],
               static_cast<size_t>(bad - firstSector) * kSectorSize);
        return Fail(false, firstSector, bytes, code, error);
    }
    const size_t length = static_cast<size_t>(count) * kSectorSize;
    if (length > 0) {
        memcpy(buffer, &disk_[static_cast<size_t>(firstSector) * kSectorSize], length);
    }
    *transferred = static_cast<uint32_t>(length);
    position_ = firstSector + count;
    transfers_.push_back(Transfer{false, firstSector, bytes, true});
    return true;
}

bool SimulatedFloppy::Write(uint32_t firstSector, const void* buffer, uint32_t bytes,
                            uint32_t* error) {
    if (!open_) {
        return Fail(true, firstSector, bytes, kNotOpen, error);
    }
    if (Vanished()) {
        return Fail(true, firstSector, bytes, kNotReady, error);
    }
    if (bytes % kSectorSize != 0) {
        return Fail(true, firstSector, bytes, kInvalidParameter, error);
    }
    if (flavour_ == Flavour::Nt && openAccess_ != DeviceAccess::Write) {
        return Fail(true, firstSector, bytes, kAccessDenied, error);
    }
    NotePosition(firstSector);
    if (writeProtected_) {
        return Fail(true, firstSector, bytes,
                    flavour_ == Flavour::Nt ? kNtWriteProtect : kVwin32WriteProtect, error);
    }
    const uint32_t total = SectorCount();
    const uint32_t count = bytes / kSectorSize;
    if (firstSector >= total || total - firstSector < count) {
        return Fail(true, firstSector, bytes, kSectorNotFound, error);
    }
    uint32_t bad = 0;
    uint32_t code = 0;
    if (FindFault(writeFaults_, firstSector, count, &bad, &code)) {
        return Fail(true, firstSector, bytes, code, error);
    }
    memcpy(&disk_[static_cast<size_t>(firstSector) * kSectorSize], buffer,
           static_cast<size_t>(count) * kSectorSize);
    for (auto it = changedAfterWrite_.lower_bound(firstSector);
         it != changedAfterWrite_.end() && it->first - firstSector < count; ++it) {
        disk_[static_cast<size_t>(it->first) * kSectorSize + it->second] ^= 0xFF;
    }
    position_ = firstSector + count;
    transfers_.push_back(Transfer{true, firstSector, bytes, true});
    return true;
}
