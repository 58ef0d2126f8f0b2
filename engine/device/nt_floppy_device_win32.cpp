#include "engine/device/nt_floppy_device.h"

#include <windows.h>
#include <winioctl.h>

#include "engine/device/floppy_type.h"
#include "platform/handles_win32.h"

namespace {

static_assert(sizeof(DISK_GEOMETRY) == 24, "DISK_GEOMETRY as the drive fills it");

// Not in the headers for the oldest targets; the value is the same on every system.
constexpr DWORD kIoctlDiskGetLengthInfo = 0x0007405C;
struct LengthInformation {
    LARGE_INTEGER Length;
};

using GetFileSizeExFunction = BOOL(WINAPI*)(HANDLE, PLARGE_INTEGER);

DWORD DesiredAccess(DeviceAccess access) {
    return access == DeviceAccess::Read ? GENERIC_READ : GENERIC_WRITE;
}

// GetFileSizeEx is absent on NT 4 and Windows 95: importing it would keep the program
// from loading there, so it is looked up, with GetFileSize behind it.
bool FileSize(HANDLE device, ULONGLONG* size) {
    const HMODULE kernel = GetModuleHandleA("kernel32.dll");
    const FARPROC found = kernel ? GetProcAddress(kernel, "GetFileSizeEx") : nullptr;
    if (found != nullptr) {
        const auto getFileSizeEx =
            reinterpret_cast<GetFileSizeExFunction>(reinterpret_cast<void*>(found));
        LARGE_INTEGER answer;
        if (!getFileSizeEx(device, &answer) || answer.QuadPart <= 0) {
            return false;
        }
        *size = static_cast<ULONGLONG>(answer.QuadPart);
        return true;
    }
    DWORD high = 0;
    const DWORD low = GetFileSize(device, &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) {
        return false;
    }
    *size = (static_cast<ULONGLONG>(high) << 32) | low;
    return *size != 0;
}

bool LengthInfo(HANDLE device, ULONGLONG* size) {
    LengthInformation answer;
    DWORD returned = 0;
    if (!DeviceIoControl(device, kIoctlDiskGetLengthInfo, nullptr, 0, &answer, sizeof answer,
                         &returned, nullptr) ||
        returned < sizeof answer || answer.Length.QuadPart <= 0) {
        return false;
    }
    *size = static_cast<ULONGLONG>(answer.Length.QuadPart);
    return true;
}

// For drivers that do not tell their geometry (Wine's, for one): a medium of exactly
// one of the known sizes has that format.
bool GeometryFromSize(HANDLE device, DiskGeometry* geometry) {
    ULONGLONG size = 0;
    if (!FileSize(device, &size) && !LengthInfo(device, &size)) {
        return false;
    }
    const FloppyType* type = FindFloppyTypeOfSize(size);
    if (type == nullptr) {
        return false;
    }
    *geometry = GeometryOf(type);
    return true;
}

struct MediaFormat {
    MEDIA_TYPE mediaType;
    uint32_t kilobytes;  // 0: a floppy format of other sectors or sizes than ours
};

const MediaFormat kMediaFormats[] = {
    {F5_160_512, 160},  {F5_180_512, 180},   {F5_320_512, 320},   {F5_360_512, 360},
    {F3_720_512, 720},  {F5_1Pt2_512, 1200}, {F3_1Pt44_512, 1440}, {F3_2Pt88_512, 2880},
    {F3_20Pt8_512, 0},  {F5_320_1024, 0},    {F3_120M_512, 0},    {F3_640_512, 0},
    {F5_640_512, 0},    {F5_720_512, 0},     {F3_1Pt2_512, 0},    {F3_1Pt23_1024, 0},
    {F5_1Pt23_1024, 0}, {F3_128Mb_512, 0},   {F3_230Mb_512, 0},   {F8_256_128, 0},
    {F3_200Mb_512, 0},  {F3_240M_512, 0},    {F3_32M_512, 0},
};

// The media type's entry, or nullptr for a medium that is no floppy of a known kind
// (RemovableMedia, FixedMedia, Unknown): its geometry alone tells.
const MediaFormat* FindMedia(uint32_t mediaType) {
    for (const MediaFormat& media : kMediaFormats) {
        if (static_cast<uint32_t>(media.mediaType) == mediaType) return &media;
    }
    return nullptr;
}

// Only these answers mean that files on the disk are open; every other refusal is a
// driver without volume locks.
bool MeansInUse(uint32_t error) {
    return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION;
}

}  // namespace

bool FloppyGeometryOfAnswer(uint32_t mediaType, uint64_t cylinders, uint32_t heads,
                            uint32_t sectorsPerTrack, uint32_t bytesPerSector,
                            DiskGeometry* geometry) {
    if (bytesPerSector != FloppyDevice::kSectorSize || cylinders > 0xFFFF) {
        return false;
    }
    DiskGeometry told;
    told.cylinders = static_cast<uint32_t>(cylinders);
    told.heads = heads;
    told.sectorsPerTrack = sectorsPerTrack;
    const FloppyType* type = cylinders != 0 && heads != 0 ? FindFloppyTypeOfGeometry(told) : nullptr;
    const MediaFormat* media = FindMedia(mediaType);
    if (type == nullptr && media != nullptr) {
        type = media->kilobytes != 0 ? FindFloppyTypeOfSize(media->kilobytes * 1024ull) : nullptr;
        if (type == nullptr) return false;  // a floppy format we do not know
    }
    // What the first versions went by: the sectors per track alone.
    if (type == nullptr) type = FindFloppyType(sectorsPerTrack);
    if (type == nullptr) return false;
    *geometry = GeometryOf(type);
    return true;
}

bool SystemVolumeControl(void* handle, uint32_t code, uint32_t* error) {
    DWORD returned = 0;
    if (DeviceIoControl(handle, code, nullptr, 0, nullptr, 0, &returned, nullptr)) {
        return true;
    }
    *error = GetLastError();
    return false;
}

void SystemVolumePause(uint32_t milliseconds) {
    Sleep(milliseconds);
}

NtFloppyDevice::NtFloppyDevice(const char* driveText, VolumeControl control, VolumePause pause)
    : control_(control), pause_(pause), handle_(INVALID_HANDLE_VALUE) {
    static const char kPrefix[] = "\\\\.\\";
    path_[0] = '\0';
    const size_t textLength = driveText ? lstrlenA(driveText) : 0;
    if (textLength == 0 || sizeof kPrefix + textLength > kPathSize) {
        return;  // no usable name: every open fails
    }
    lstrcpyA(path_, kPrefix);
    lstrcatA(path_, driveText);
}

NtFloppyDevice::~NtFloppyDevice() {
    Close();
}

void* NtFloppyDevice::OpenHandle(DeviceAccess access) const {
    if (path_[0] == '\0') {
        SetLastError(ERROR_INVALID_NAME);
        return INVALID_HANDLE_VALUE;
    }
    // Shared for writing as well: without it the file system itself checks for open
    // files at the open and refuses it as a sharing violation, so that a disk in use
    // could not be told from a missing one; the volume lock holds others off instead.
    return CreateFileA(path_, DesiredAccess(access), FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, 0, nullptr);
}

DeviceQuery NtFloppyDevice::QueryGeometry(DeviceAccess access, DiskGeometry* geometry) {
    UniqueHandle device(OpenHandle(access));
    if (!device.Valid()) {
        return DeviceQuery::OpenFailed;
    }
    DISK_GEOMETRY answer;
    DWORD returned = 0;
    if (DeviceIoControl(device.Get(), IOCTL_DISK_GET_DRIVE_GEOMETRY, nullptr, 0, &answer,
                        sizeof answer, &returned, nullptr)) {
        if (returned < sizeof answer) {
            return DeviceQuery::QueryFailed;
        }
        return FloppyGeometryOfAnswer(static_cast<uint32_t>(answer.MediaType),
                                      static_cast<uint64_t>(answer.Cylinders.QuadPart),
                                      answer.TracksPerCylinder, answer.SectorsPerTrack,
                                      answer.BytesPerSector, geometry)
                   ? DeviceQuery::Ok
                   : DeviceQuery::QueryFailed;
    }
    // Only a driver that does not know the request gets a second chance; a drive that
    // knows it and fails (no disk, unreadable disk) has answered.
    const DWORD error = GetLastError();
    if (error != ERROR_NOT_SUPPORTED && error != ERROR_INVALID_FUNCTION) {
        return DeviceQuery::QueryFailed;
    }
    return GeometryFromSize(device.Get(), geometry) ? DeviceQuery::Ok : DeviceQuery::QueryFailed;
}

bool NtFloppyDevice::Open(DeviceAccess access) {
    Close();
    handle_ = OpenHandle(access);
    if (handle_ == INVALID_HANDLE_VALUE) {
        return false;
    }
    position_ = 0;
    positionKnown_ = true;
    return true;
}

// Explorer and the shell let go of a disk a moment after their windows on it close, so a
// write asks again for a few seconds before it calls the disk in use. A read goes on
// without the lock anyway and does not wait for it.
bool NtFloppyDevice::RequestLock(DeviceAccess access, uint32_t* error) {
    bool locked = control_(handle_, FSCTL_LOCK_VOLUME, error);
    if (access != DeviceAccess::Write) return locked;
    for (uint32_t waited = 0; !locked && MeansInUse(*error) && waited < kLockWaitMs;
         waited += kLockRetryMs) {
        pause_(kLockRetryMs);
        locked = control_(handle_, FSCTL_LOCK_VOLUME, error);
    }
    return locked;
}

// A dismount that is refused after the lock (Wine refuses it) is no reason to stop: the
// lock alone lets raw writes through.
VolumeLock NtFloppyDevice::LockVolume(DeviceAccess access) {
    uint32_t error = ERROR_INVALID_HANDLE;
    if (handle_ == INVALID_HANDLE_VALUE || !RequestLock(access, &error)) {
        return MeansInUse(error) ? VolumeLock::InUse : VolumeLock::Unsupported;
    }
    volumeLocked_ = true;
    if (access == DeviceAccess::Write) {
        control_(handle_, FSCTL_DISMOUNT_VOLUME, &error);
    }
    return VolumeLock::Locked;
}

// Closing the handle would release the lock too; unlocking first leaves no doubt.
void NtFloppyDevice::Close() {
    if (handle_ != INVALID_HANDLE_VALUE) {
        if (volumeLocked_) {
            uint32_t error = 0;
            control_(handle_, FSCTL_UNLOCK_VOLUME, &error);
            volumeLocked_ = false;
        }
        CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }
    positionKnown_ = false;
}

bool NtFloppyDevice::IsWriteProtectError(uint32_t error) const {
    return error == ERROR_WRITE_PROTECT;
}

// The disk was taken out, or the drive itself went (a USB drive unplugged); a bad sector
// answers with a data error instead. "Not ready" is also what some drivers (Wine's, over
// a failing file) give for one sector that does not answer: the drive is asked whether it
// still has a medium. One that has, or a driver that cannot be asked (as today, a bad
// sector), keeps the job going.
bool NtFloppyDevice::MediumGone(uint32_t error) {
    if (error == ERROR_NOT_READY) {
        if (handle_ == INVALID_HANDLE_VALUE) return true;
        uint32_t checkError = 0;
        if (control_(handle_, IOCTL_STORAGE_CHECK_VERIFY2, &checkError)) return false;
        return checkError != ERROR_NOT_SUPPORTED && checkError != ERROR_INVALID_FUNCTION;
    }
    switch (error) {
    case ERROR_NO_MEDIA_IN_DRIVE:
    case ERROR_DEVICE_REMOVED:
    case ERROR_DEVICE_NOT_CONNECTED:
    case ERROR_DEV_NOT_EXIST:
        return true;
    default:
        return false;
    }
}

// Sequential transfers leave the file pointer alone; a skip, or the first transfer after
// a failed one (which may have moved it anywhere), sets it.
bool NtFloppyDevice::MoveTo(uint32_t firstSector, uint32_t* error) {
    if (handle_ == INVALID_HANDLE_VALUE) {
        *error = ERROR_INVALID_HANDLE;
        return false;
    }
    if (positionKnown_ && firstSector == position_) {
        return true;
    }
    const ULONGLONG offset = static_cast<ULONGLONG>(firstSector) * kSectorSize;
    LONG high = static_cast<LONG>(offset >> 32);
    // Sector-aligned, so a valid low part is never INVALID_SET_FILE_POINTER.
    if (SetFilePointer(handle_, static_cast<LONG>(offset & 0xFFFFFFFFu), &high, FILE_BEGIN) ==
        INVALID_SET_FILE_POINTER) {
        *error = GetLastError();
        positionKnown_ = false;
        return false;
    }
    position_ = firstSector;
    positionKnown_ = true;
    return true;
}

bool NtFloppyDevice::Read(uint32_t firstSector, void* buffer, uint32_t bytes,
                          uint32_t* transferred, uint32_t* error) {
    *transferred = 0;
    *error = 0;
    if (!MoveTo(firstSector, error)) {
        return false;
    }
    DWORD done = 0;
    if (!ReadFile(handle_, buffer, bytes, &done, nullptr)) {
        *error = GetLastError();
        positionKnown_ = false;
        return false;
    }
    *transferred = done;
    positionKnown_ = done % kSectorSize == 0;
    position_ += done / kSectorSize;
    return true;
}

bool NtFloppyDevice::Write(uint32_t firstSector, const void* buffer, uint32_t bytes,
                           uint32_t* error) {
    *error = 0;
    if (!MoveTo(firstSector, error)) {
        return false;
    }
    DWORD done = 0;
    if (!WriteFile(handle_, buffer, bytes, &done, nullptr)) {
        *error = GetLastError();
        positionKnown_ = false;
        return false;
    }
    if (done != bytes) {
        // Not all of it reached the disk: a success here would lose the rest unseen.
        *error = ERROR_WRITE_FAULT;
        positionKnown_ = false;
        return false;
    }
    position_ += done / kSectorSize;
    return true;
}
