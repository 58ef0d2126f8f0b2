#include "engine/device/vwin32_floppy_device_win32.h"

#include "engine/device/vwin32_records.h"
#include "platform/handles_win32.h"

namespace {

// The service takes addresses in 32-bit registers: it exists only for 32-bit programs.
// A 64-bit build keeps the method (it never finds the service), and an address that
// does not fit is refused rather than cut short.
bool AddressOf(const void* p, uint32_t* address) {
    const uintptr_t value = reinterpret_cast<uintptr_t>(p);
    if ((value >> 16 >> 16) != 0) return false;
    *address = static_cast<uint32_t>(value);
    return true;
}

constexpr uint32_t kMostSectorsPerRequest = 0xFFFF;  // DISKIO's count is 16-bit

}  // namespace

const Vwin32Calls& SystemVwin32Calls() {
    static const Vwin32Calls calls = {&CreateFileA, &DeviceIoControl, &CloseHandle};
    return calls;
}

Vwin32FloppyDevice::Vwin32FloppyDevice(const char* driveText, const Vwin32Calls& calls)
    : calls_(calls), drive_(Vwin32DriveNumber(driveText)), handle_(INVALID_HANDLE_VALUE) {}

Vwin32FloppyDevice::~Vwin32FloppyDevice() {
    Close();
}

HANDLE Vwin32FloppyDevice::OpenService(DeviceAccess access) const {
    const DWORD desired = access == DeviceAccess::Read ? GENERIC_READ : GENERIC_WRITE;
    return calls_.createFile("\\\\.\\vwin32", desired, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             0, nullptr);
}

DeviceQuery Vwin32FloppyDevice::QueryGeometry(DeviceAccess access, DiskGeometry* geometry) {
    UniqueHandle service(OpenService(access), calls_.closeHandle);
    if (!service.Valid()) {
        return DeviceQuery::OpenFailed;
    }
    DeviceParameters parameters = {};
    parameters.bytes[kDeviceParametersSpecialFunctions] = kCurrentMedium;
    DiocRegisters registers = {};
    registers.reg_EAX = kDosGenericIoctl;
    registers.reg_EBX = drive_;
    registers.reg_ECX = kGetDeviceParameters;
    registers.reg_Flags = kCarryFlag;  // a service that does nothing has not succeeded
    DWORD returned = 0;
    if (!AddressOf(&parameters, &registers.reg_EDX) ||
        !calls_.deviceIoControl(service.Get(), kVwin32DosIoctl, &registers, sizeof registers,
                                &registers, sizeof registers, &returned, nullptr) ||
        (registers.reg_Flags & kCarryFlag) != 0) {
        return DeviceQuery::QueryFailed;
    }
    *geometry = GeometryOfDeviceParameters(parameters);
    return DeviceQuery::Ok;
}

bool Vwin32FloppyDevice::Open(DeviceAccess access) {
    Close();
    handle_ = OpenService(access);
    if (handle_ == nullptr) {
        handle_ = INVALID_HANDLE_VALUE;
    }
    return handle_ != INVALID_HANDLE_VALUE;
}

void Vwin32FloppyDevice::Close() {
    if (handle_ != INVALID_HANDLE_VALUE) {
        if (lockHeld_) {
            DiocRegisters registers = {};
            registers.reg_EAX = kDosGenericIoctl;
            registers.reg_EBX = drive_;
            registers.reg_ECX = kUnlockLogicalVolume;
            DosIoctl(registers);
        }
        calls_.closeHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }
    lockAsked_ = false;
    lockHeld_ = false;
}

bool Vwin32FloppyDevice::DosIoctl(DiocRegisters& registers) {
    registers.reg_Flags = kCarryFlag;  // a service that does nothing has not succeeded
    DWORD returned = 0;
    return calls_.deviceIoControl(handle_, kVwin32DosIoctl, &registers, sizeof registers,
                                  &registers, sizeof registers, &returned, nullptr) &&
           (registers.reg_Flags & kCarryFlag) == 0;
}

// Asked once per Open: a refusal will not turn into a grant within one job.
bool Vwin32FloppyDevice::TakeWriteLock() {
    if (handle_ == INVALID_HANDLE_VALUE || lockAsked_) return lockHeld_;
    lockAsked_ = true;
    DiocRegisters registers = {};
    registers.reg_EAX = kDosGenericIoctl;
    registers.reg_EBX = (kWriteLockLevel << 8) | drive_;
    registers.reg_ECX = kLockLogicalVolume;
    registers.reg_EDX = kWriteLockPermissions;
    lockHeld_ = DosIoctl(registers);
    return lockHeld_;
}

VolumeLock Vwin32FloppyDevice::LockVolume(DeviceAccess access) {
    if (access != DeviceAccess::Write) return VolumeLock::Unsupported;
    return TakeWriteLock() ? VolumeLock::Locked : VolumeLock::Unsupported;
}

bool Vwin32FloppyDevice::IsWriteProtectError(uint32_t error) const {
    return error == kVwin32WriteProtectError;
}

bool Vwin32FloppyDevice::MediumGone(uint32_t error) {
    if (error == kDosDriveNotReady) return true;
    if (error > 0xFFFF) return false;
    const uint32_t status = error >> 8;
    if (status == kBiosTimeout || status == kBiosDriveNotReady || status == kBiosNoMedium) {
        return true;
    }
    return status != 0 && (error & 0xFF) == kCriticalDriveNotReady;
}

bool Vwin32FloppyDevice::Read(uint32_t firstSector, void* buffer, uint32_t bytes,
                              uint32_t* transferred, uint32_t* error) {
    *transferred = 0;
    if (!Transfer(kDiskIoRead, firstSector, buffer, bytes, error)) {
        return false;
    }
    *transferred = bytes;  // the service moves the whole count or fails
    return true;
}

bool Vwin32FloppyDevice::Write(uint32_t firstSector, const void* buffer, uint32_t bytes,
                               uint32_t* error) {
    TakeWriteLock();
    return Transfer(kDiskIoWrite, firstSector, buffer, bytes, error);
}

// A failed request returns its error code in EAX, and the service may leave any register
// changed, so the registers and the block are filled afresh for every request.
bool Vwin32FloppyDevice::Transfer(uint32_t direction, uint32_t firstSector, const void* buffer,
                                  uint32_t bytes, uint32_t* error) {
    *error = 0;
    if (handle_ == INVALID_HANDLE_VALUE) {
        *error = ERROR_INVALID_HANDLE;
        return false;
    }
    if (bytes == 0 || bytes % kSectorSize != 0 || bytes / kSectorSize > kMostSectorsPerRequest) {
        *error = ERROR_INVALID_PARAMETER;
        return false;
    }
    DiskIo block;
    block.startSector = firstSector;
    block.sectorCount = static_cast<uint16_t>(bytes / kSectorSize);
    DiocRegisters registers = {};
    if (!AddressOf(buffer, &block.buffer) || !AddressOf(&block, &registers.reg_EBX)) {
        *error = ERROR_NOT_SUPPORTED;
        return false;
    }
    registers.reg_EAX = kDosAbsoluteDiskIo;
    registers.reg_ECX = kDiskIoUsesBlock;
    registers.reg_EDX = drive_;
    registers.reg_ESI = direction;
    registers.reg_Flags = kCarryFlag;
    DWORD returned = 0;
    if (!calls_.deviceIoControl(handle_, kVwin32DosDriveInfo, &registers, sizeof registers,
                                &registers, sizeof registers, &returned, nullptr)) {
        // The request never reached MS-DOS: EAX still holds what we put there.
        const DWORD lastError = GetLastError();
        *error = lastError != 0 ? lastError : ERROR_GEN_FAILURE;
        return false;
    }
    if ((registers.reg_Flags & kCarryFlag) != 0) {
        *error = registers.reg_EAX;
        return false;
    }
    return true;
}
