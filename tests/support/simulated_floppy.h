#pragma once
#include <stddef.h>
#include <stdint.h>

#include <map>
#include <vector>

#include "engine/device/floppy_device.h"
#include "engine/device/floppy_type.h"
#include "engine/job/floppy_device_factory.h"

// A floppy drive over an in-memory disk, with the faults a real one shows. It behaves
// like one of the two platform methods: `Nt` keeps a position of its own (a transfer
// that does not start where the previous one ended counts as a seek; a read at the end
// of the disk delivers what is left, down to 0 bytes), `Vwin32` keeps none (a request
// past the end fails). The flavour also decides the write-protection error code.
class SimulatedFloppy : public FloppyDevice {
public:
    enum class Flavour { Nt, Vwin32 };

    // Representative platform error codes.
    static constexpr uint32_t kNtWriteProtect = 19;       // ERROR_WRITE_PROTECT
    static constexpr uint32_t kVwin32WriteProtect = 0x100A;
    static constexpr uint32_t kCrcError = 23;             // ERROR_CRC
    static constexpr uint32_t kWriteFault = 29;           // ERROR_WRITE_FAULT
    static constexpr uint32_t kSectorNotFound = 27;       // ERROR_SECTOR_NOT_FOUND
    static constexpr uint32_t kNotOpen = 6;               // ERROR_INVALID_HANDLE
    static constexpr uint32_t kAccessDenied = 5;          // Nt: transfer against the open's direction
    static constexpr uint32_t kInvalidParameter = 87;     // not a whole number of sectors
    static constexpr uint32_t kNotReady = 21;             // ERROR_NOT_READY: no medium

    // One successful or failed open, in order; the query's own opens included.
    struct OpenRecord {
        DeviceAccess access;
        bool opened;  // false when the open was made to fail
        bool closed;
    };

    // One Read or Write request as the device received it.
    struct Transfer {
        bool write;
        uint32_t firstSector;
        uint32_t bytes;
        bool ok;
    };

    // A disk of sectorsPerTrack x 512 x 2 x 80 bytes, each sector filled with a pattern
    // of its own (see PatternByte), reporting `sectorsPerTrack` when asked. Any other
    // content: assign to disk(), keeping its size.
    explicit SimulatedFloppy(uint32_t sectorsPerTrack = 18, Flavour flavour = Flavour::Nt);
    // A disk of `format`, reporting its whole geometry when asked.
    explicit SimulatedFloppy(const FloppyType& format, Flavour flavour = Flavour::Nt);

    // The byte a fresh disk holds at `offset`. Each sector starts with a stamp of its
    // own number and no byte is constant, so misplaced, repeated or zeroed sectors show.
    static uint8_t PatternByte(uint32_t offset);

    std::vector<uint8_t>& disk() { return disk_; }
    const std::vector<uint8_t>& disk() const { return disk_; }
    uint32_t SectorCount() const { return static_cast<uint32_t>(disk_.size() / kSectorSize); }

    // Faults. A read that covers an unreadable sector fails, moving nothing and leaving
    // the Nt position where the request started; the sectors in front of the bad one may
    // already have reached the buffer, as on a real drive. A write that covers a failing
    // sector, or any write while write-protected, fails and changes nothing. Opens can
    // be made to fail in the query, in Open, or both.
    void MakeUnreadable(uint32_t sector, uint32_t error = kCrcError);
    // A weak sector: the first `failures` reads that cover it fail as an unreadable one
    // does, the next ones read.
    void MakeFlaky(uint32_t sector, uint32_t failures, uint32_t error = kCrcError);
    // A medium that does not keep what it was given: every successful write that covers
    // `sector` leaves it with one byte (at `offset` within the sector) inverted.
    void ChangeAfterWrite(uint32_t sector, uint32_t offset = 100);
    void FailWriteAt(uint32_t sector, uint32_t error = kWriteFault);
    void SetWriteProtected(bool on) { writeProtected_ = on; }
    void FailOpen(bool inQuery, bool inTransferOpen);
    void FailQuery(bool on) { failQuery_ = on; }
    // What the query answers instead: the sectors per track alone (as the first versions
    // asked), or a whole geometry.
    void ReportSectorsPerTrack(uint32_t value) {
        reported_ = DiskGeometry{};
        reported_.sectorsPerTrack = value;
    }
    void ReportGeometry(const DiskGeometry& geometry) { reported_ = geometry; }
    // What LockVolume answers: Unsupported, as a drive without a file system's volume,
    // unless told otherwise. A refused lock changes nothing, a taken one is held until
    // Close.
    void AnswerLock(VolumeLock answer) { lockAnswer_ = answer; }
    // A medium that vanishes (pulled out, the drive unplugged): from the `request`th Read
    // or Write on (0 for the first, counted as transfers() counts them) every transfer
    // fails with kNotReady, moving nothing, and MediumGone answers true for that error.
    // Opens still work, as a drive without a disk opens on NT.
    void VanishAt(uint32_t request) { vanishAt_ = request; }
    bool Vanished() const { return transfers_.size() >= vanishAt_; }

    // What the medium tells the drive, without opening anything; false when the query
    // is made to fail. For emulations of the platform services built on this disk.
    bool MediumSectorsPerTrack(uint32_t* sectorsPerTrack) const;
    bool MediumGeometry(DiskGeometry* geometry) const;

    // The record. Opening again while open leaves the earlier open unclosed for good, as
    // a leaked handle would be.
    const std::vector<OpenRecord>& opens() const { return opens_; }
    const std::vector<Transfer>& transfers() const { return transfers_; }
    bool IsOpen() const { return open_; }
    bool EveryOpenClosed() const;
    uint32_t seeks() const { return seeks_; }
    // The cylinder of the first transfer and of each later one on another cylinder than
    // the one before: where the head travelled, in order.
    const std::vector<uint32_t>& headMoves() const { return headMoves_; }
    uint32_t CylinderOf(uint32_t sector) const { return sector / (heads_ * sectorsPerTrack_); }
    // Each LockVolume request, in order, and whether the lock is held now.
    struct LockRecord {
        DeviceAccess access;
        bool whileOpen;  // false: asked without an open transfer handle
        uint32_t transfersBefore;
    };
    const std::vector<LockRecord>& locks() const { return locks_; }
    bool LockHeld() const { return lockHeld_; }

    // FloppyDevice
    DeviceQuery QueryGeometry(DeviceAccess access, DiskGeometry* geometry) override;
    bool Open(DeviceAccess access) override;
    bool Read(uint32_t firstSector, void* buffer, uint32_t bytes, uint32_t* transferred,
              uint32_t* error) override;
    bool Write(uint32_t firstSector, const void* buffer, uint32_t bytes,
               uint32_t* error) override;
    VolumeLock LockVolume(DeviceAccess access) override;
    void Close() override;
    bool IsWriteProtectError(uint32_t error) const override;
    bool KeepsPosition() const override { return flavour_ == Flavour::Nt; }
    bool MediumGone(uint32_t error) override;

private:
    bool OpenOne(DeviceAccess access, bool failing);
    void NotePosition(uint32_t firstSector);
    bool FindFault(const std::map<uint32_t, uint32_t>& faults, uint32_t first, uint32_t count,
                   uint32_t* sector, uint32_t* error) const;
    bool Fail(bool write, uint32_t firstSector, uint32_t bytes, uint32_t code, uint32_t* error);
    bool FlakyFault(uint32_t first, uint32_t count, uint32_t* sector, uint32_t* error);
    void NoteHead(uint32_t firstSector);

    Flavour flavour_;
    uint32_t sectorsPerTrack_;
    uint32_t heads_;
    std::vector<uint8_t> disk_;
    DiskGeometry reported_;
    std::map<uint32_t, uint32_t> unreadable_;   // sector -> error code
    std::map<uint32_t, uint32_t> writeFaults_;  // sector -> error code
    struct Flaky {
        uint32_t failuresLeft;
        uint32_t error;
    };
    std::map<uint32_t, Flaky> flaky_;
    std::vector<uint32_t> headMoves_;
    std::map<uint32_t, uint32_t> changedAfterWrite_;  // sector -> offset of the changed byte
    bool writeProtected_ = false;
    bool failQueryOpen_ = false;
    bool failTransferOpen_ = false;
    bool failQuery_ = false;
    VolumeLock lockAnswer_ = VolumeLock::Unsupported;
    std::vector<LockRecord> locks_;
    bool lockHeld_ = false;
    size_t vanishAt_ = static_cast<size_t>(-1);

    std::vector<OpenRecord> opens_;
    std::vector<Transfer> transfers_;
    bool open_ = false;
    DeviceAccess openAccess_ = DeviceAccess::Read;
    uint32_t position_ = 0;  // Nt: the sector after the previous transfer
    uint32_t seeks_ = 0;
};

// Every drive the jobs ask for is the one simulated floppy; files are the system's.
class OneSimulatedFloppy final : public FloppyDeviceFactory {
public:
    explicit OneSimulatedFloppy(SimulatedFloppy& disk) : disk_(disk) {}
    FloppyDevice& DeviceFor(const char*) override { return disk_; }
    TargetFiles* Files() override { return &files; }
    SystemTargetFiles files{true};

private:
    SimulatedFloppy& disk_;
};
