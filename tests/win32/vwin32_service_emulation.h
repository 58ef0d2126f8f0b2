#pragma once
// An emulation of the Windows 9x VWIN32 service over a simulated disk, to stand in for
// the system calls of Vwin32FloppyDevice. It checks every request as the real service
// would need it - record sizes, control codes, register values, drive number, that every
// address points at memory of the right size - and notes each departure in problems().
// Like the real service it leaves registers and the DISKIO block changed after a call,
// so a caller that does not fill them afresh for every request is caught. Absolute disk
// writes need the logical volume's level 1 lock, as on Windows 95 and 98, unless the
// emulated service is told to have no such lock.
#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "engine/device/vwin32_floppy_device_win32.h"
#include "engine/device/vwin32_records.h"
#include "tests/support/simulated_floppy.h"

class Vwin32ServiceEmulation {
public:
    static constexpr uint32_t kDriveNotReady = 0x15;  // what a failing query answers

    // `disk` should be of the Vwin32 flavour; `expectedDrive` is 1 for A:, 2 for B:.
    explicit Vwin32ServiceEmulation(SimulatedFloppy& disk, uint32_t expectedDrive = 1)
        : disk_(disk), expectedDrive_(expectedDrive) {
        Active() = this;
    }
    ~Vwin32ServiceEmulation() { Active() = nullptr; }
    Vwin32ServiceEmulation(const Vwin32ServiceEmulation&) = delete;
    Vwin32ServiceEmulation& operator=(const Vwin32ServiceEmulation&) = delete;

    // The calls to hand to Vwin32FloppyDevice.
    static const Vwin32Calls& Calls() {
        static const Vwin32Calls calls = {&FakeCreateFile, &FakeDeviceIoControl, &FakeCloseHandle};
        return calls;
    }

    // Faults beyond the disk's own: the service cannot be opened after `count` successful
    // opens; DeviceIoControl itself fails with `lastError` (0: it does not).
    void AllowOpens(int count) { opensAllowed_ = count; }
    void FailCalls(DWORD lastError) { callError_ = lastError; }
    // The lock request is refused with this DOS error, as where the service has none.
    void RefuseLock(uint32_t error) { lockRefusal_ = error; }

    // The volume requests in order: "lock" (granted), "refused", "write", "unlock".
    const std::vector<std::string>& volumeEvents() const { return volumeEvents_; }
    bool LockHeld() const { return lockHeld_; }

    const std::vector<std::string>& problems() const { return problems_; }
    int requests() const { return requests_; }
    size_t OpenHandles() const { return handles_.size(); }

private:
    static Vwin32ServiceEmulation*& Active() {
        static Vwin32ServiceEmulation* active = nullptr;
        return active;
    }

    void Problem(const std::string& what) { problems_.push_back(what); }

    void Expect(bool condition, const char* what) {
        if (!condition) Problem(what);
    }

    // Committed memory of at least `size` bytes from `address`, writable if asked.
    static bool Accessible(uint32_t address, size_t size, bool writable) {
        uintptr_t p = address;
        const uintptr_t end = p + size;
        if (address == 0) return false;
        while (p < end) {
            MEMORY_BASIC_INFORMATION info;
            if (VirtualQuery(reinterpret_cast<void*>(p), &info, sizeof info) == 0 ||
                info.State != MEM_COMMIT || (info.Protect & (PAGE_GUARD | PAGE_NOACCESS)) != 0) {
                return false;
            }
            const DWORD writableKinds = PAGE_READWRITE | PAGE_EXECUTE_READWRITE | PAGE_WRITECOPY |
                                        PAGE_EXECUTE_WRITECOPY;
            if (writable && (info.Protect & writableKinds) == 0) return false;
            p = reinterpret_cast<uintptr_t>(info.BaseAddress) + info.RegionSize;
        }
        return true;
    }

    static HANDLE WINAPI FakeCreateFile(LPCSTR path, DWORD access, DWORD share,
                                        LPSECURITY_ATTRIBUTES security, DWORD disposition,
                                        DWORD flags, HANDLE templateFile) {
        return Active()->OnCreateFile(path, access, share, security, disposition, flags,
                                    templateFile);
    }

    static BOOL WINAPI FakeDeviceIoControl(HANDLE handle, DWORD code, LPVOID in, DWORD inSize,
                                           LPVOID out, DWORD outSize, LPDWORD returned,
                                           LPOVERLAPPED overlapped) {
        return Active()->OnDeviceIoControl(handle, code, in, inSize, out, outSize, returned,
                                         overlapped);
    }

    static BOOL WINAPI FakeCloseHandle(HANDLE handle) { return Active()->OnCloseHandle(handle); }

    HANDLE OnCreateFile(LPCSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                      DWORD disposition, DWORD flags, HANDLE templateFile) {
        Expect(path != nullptr && lstrcmpA(path, "\\\\.\\vwin32") == 0, "opened another path");
        Expect(access == GENERIC_READ || access == GENERIC_WRITE, "access neither read nor write");
        Expect(share == FILE_SHARE_READ, "share mode not FILE_SHARE_READ");
        Expect(security == nullptr && templateFile == nullptr && flags == 0,
               "security, flags or template given");
        Expect(disposition == OPEN_EXISTING, "disposition not OPEN_EXISTING");
        if (opensAllowed_ == 0 || !disk_.Open(access == GENERIC_WRITE ? DeviceAccess::Write
                                                                     : DeviceAccess::Read)) {
            SetLastError(ERROR_FILE_NOT_FOUND);
            return INVALID_HANDLE_VALUE;
        }
        if (opensAllowed_ > 0) --opensAllowed_;
        const HANDLE handle = reinterpret_cast<HANDLE>(static_cast<uintptr_t>(0x9C00 + 4 * ++issued_));
        handles_.insert(handle);
        return handle;
    }

    BOOL OnCloseHandle(HANDLE handle) {
        if (lockHeld_) Problem("closed the service with the volume still locked");
        if (handles_.erase(handle) == 0) {
            Problem("closed a handle the service did not give out");
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
        disk_.Close();
        return TRUE;
    }

    BOOL OnDeviceIoControl(HANDLE handle, DWORD code, LPVOID in, DWORD inSize, LPVOID out,
                         DWORD outSize, LPDWORD returned, LPOVERLAPPED overlapped) {
        ++requests_;
        if (handles_.count(handle) == 0) {
            Problem("request on a handle that is not open");
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
        Expect(in != nullptr && in == out, "registers not the same record in and out");
        Expect(inSize == sizeof(DiocRegisters) && outSize == sizeof(DiocRegisters),
               "register record not 28 bytes each way");
        Expect(returned != nullptr && overlapped == nullptr, "bytes-returned or overlapped wrong");
        if (in == nullptr || inSize != sizeof(DiocRegisters)) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        if (callError_ != 0) {
            SetLastError(callError_);
            return FALSE;
        }
        DiocRegisters& r = *static_cast<DiocRegisters*>(in);
        if (code == kVwin32DosIoctl && r.reg_EAX == kDosGenericIoctl &&
            (r.reg_ECX == kLockLogicalVolume || r.reg_ECX == kUnlockLogicalVolume)) {
            VolumeLockRequest(r);
        } else if (code == kVwin32DosIoctl) {
            GetDeviceParameters(r);
        } else if (code == kVwin32DosDriveInfo) {
            AbsoluteDiskIo(r);
        } else {
            Problem("unknown control code");
            SetLastError(ERROR_INVALID_FUNCTION);
            return FALSE;
        }
        if (returned != nullptr) *returned = sizeof(DiocRegisters);
        return TRUE;
    }

    static void Succeed(DiocRegisters& r) {
        ScrambleRegisters(r);
        r.reg_Flags &= ~kCarryFlag;
    }

    static void Fail(DiocRegisters& r, uint32_t error) {
        ScrambleRegisters(r);
        r.reg_EAX = error;
        r.reg_Flags |= kCarryFlag;
    }

    static void ScrambleRegisters(DiocRegisters& r) {
        r.reg_EAX = 0x0BAD0000;
        r.reg_EBX = 0x0BAD0001;
        r.reg_ECX = 0x0BAD0002;
        r.reg_EDX = 0x0BAD0003;
        r.reg_ESI = 0x0BAD0004;
        r.reg_EDI = 0x0BAD0005;
    }

    void VolumeLockRequest(DiocRegisters& r) {
        const bool lock = r.reg_ECX == kLockLogicalVolume;
        Expect((r.reg_EBX & 0xFF) == expectedDrive_, "volume lock: BL not the drive number");
        if (lock) {
            Expect((r.reg_EBX >> 8) == kWriteLockLevel, "volume lock: BH not level 1");
            Expect(r.reg_EDX == kWriteLockPermissions, "volume lock: DX not the permissions");
            Expect(!lockHeld_, "volume lock: asked again while held");
        } else {
            Expect((r.reg_EBX >> 8) == 0, "volume unlock: BH not 0");
            Expect(lockHeld_, "volume unlock: no lock held");
        }
        if (lock && lockRefusal_ != 0) {
            volumeEvents_.push_back("refused");
            return Fail(r, lockRefusal_);
        }
        lockHeld_ = lock;
        volumeEvents_.push_back(lock ? "lock" : "unlock");
        Succeed(r);
    }

    static void PutWord(uint8_t* block, unsigned offset, uint32_t value) {
        block[offset] = static_cast<uint8_t>(value);
        block[offset + 1] = static_cast<uint8_t>(value >> 8);
    }

    void GetDeviceParameters(DiocRegisters& r) {
        Expect(r.reg_EAX == kDosGenericIoctl, "IOCTL: EAX not 440Dh");
        Expect(r.reg_ECX == kGetDeviceParameters, "IOCTL: ECX not 0860h");
        Expect(r.reg_EBX == expectedDrive_, "IOCTL: EBX not the drive number");
        if (!Accessible(r.reg_EDX, sizeof(DeviceParameters), true)) {
            Problem("IOCTL: EDX not the address of a 40-byte block");
            return Fail(r, ERROR_INVALID_PARAMETER);
        }
        uint8_t* block = reinterpret_cast<uint8_t*>(static_cast<uintptr_t>(r.reg_EDX));
        Expect(block[kDeviceParametersSpecialFunctions] == kCurrentMedium,
               "IOCTL: special functions not 1 (current medium)");
        DiskGeometry geometry;
        if (!disk_.MediumGeometry(&geometry)) {
            return Fail(r, kDriveNotReady);
        }
        block[7] = 0x00;  // bytes per sector, 512
        block[8] = 0x02;
        PutWord(block, kDeviceParametersSectorsPerTrack, geometry.sectorsPerTrack);
        PutWord(block, kDeviceParametersHeads, geometry.heads != 0 ? geometry.heads : 2);
        PutWord(block, kDeviceParametersTotalSectors, geometry.totalSectors);
        Succeed(r);
    }

    void AbsoluteDiskIo(DiocRegisters& r) {
        Expect(r.reg_EAX == kDosAbsoluteDiskIo, "disk I/O: EAX not 7305h");
        Expect(r.reg_ECX == kDiskIoUsesBlock, "disk I/O: ECX not FFFFFFFFh");
        Expect(r.reg_EDX == expectedDrive_, "disk I/O: EDX not the drive number");
        Expect(r.reg_ESI == kDiskIoRead || r.reg_ESI == kDiskIoWrite, "disk I/O: ESI neither 0 nor 1");
        if (!Accessible(r.reg_EBX, sizeof(DiskIo), true)) {
            Problem("disk I/O: EBX not the address of a 10-byte DISKIO block");
            return Fail(r, ERROR_INVALID_PARAMETER);
        }
        DiskIo& block = *reinterpret_cast<DiskIo*>(static_cast<uintptr_t>(r.reg_EBX));
        const bool write = r.reg_ESI == kDiskIoWrite;
        if (write) {
            volumeEvents_.push_back("write");
            if (!lockHeld_ && lockRefusal_ == 0) Problem("disk I/O: written without the volume lock");
        }
        const uint32_t bytes = static_cast<uint32_t>(block.sectorCount) * FloppyDevice::kSectorSize;
        if (block.sectorCount == 0 || !Accessible(block.buffer, bytes, !write)) {
            Problem("disk I/O: DISKIO buffer not the address of count x 512 bytes");
            return Fail(r, ERROR_INVALID_PARAMETER);
        }
        void* buffer = reinterpret_cast<void*>(static_cast<uintptr_t>(block.buffer));
        uint32_t error = 0;
        uint32_t done = 0;
        const bool ok = write ? disk_.Write(block.startSector, buffer, bytes, &error)
                              : disk_.Read(block.startSector, buffer, bytes, &done, &error);
        block = DiskIo{0xFFFFFFFF, 0xFFFF, 0xFFFFFFFF};  // the caller must fill it again
        if (!ok) {
            return Fail(r, error);
        }
        Succeed(r);
    }

    SimulatedFloppy& disk_;
    uint32_t expectedDrive_;
    std::vector<std::string> problems_;
    std::set<HANDLE> handles_;
    int opensAllowed_ = -1;
    DWORD callError_ = 0;
    uint32_t lockRefusal_ = 0;
    bool lockHeld_ = false;
    std::vector<std::string> volumeEvents_;
    int requests_ = 0;
    unsigned issued_ = 0;
};
