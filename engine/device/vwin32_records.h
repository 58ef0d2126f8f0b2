#pragma once
#include <stdint.h>

#include "engine/device/floppy_device.h"

// The records the Windows 9x VWIN32 service exchanges with a program asking it to run
// MS-DOS disk functions. Addresses travel as 32-bit numbers: the service only exists for
// 32-bit programs.

// VWIN32 control codes.
constexpr uint32_t kVwin32DosIoctl = 1;      // VWIN32_DIOC_DOS_IOCTL: Int 21h function 44h
constexpr uint32_t kVwin32DosDriveInfo = 6;  // VWIN32_DIOC_DOS_DRIVEINFO: Int 21h function 73h

// MS-DOS functions and their sub-codes, as loaded into the registers.
constexpr uint32_t kDosGenericIoctl = 0x440D;       // Generic IOCTL for block devices
constexpr uint32_t kGetDeviceParameters = 0x0860;   // category 08h disk, minor 60h
constexpr uint32_t kLockLogicalVolume = 0x084A;     // minor 4Ah; BH lock level, BL drive
constexpr uint32_t kUnlockLogicalVolume = 0x086A;   // minor 6Ah; BL drive
constexpr uint32_t kWriteLockLevel = 1;             // the level absolute disk writes need
// DX of a level 1 lock: other programs' writes fail while it is held, new file mappings
// do not.
constexpr uint32_t kWriteLockPermissions = 0;
constexpr uint32_t kDosAbsoluteDiskIo = 0x7305;     // absolute disk read/write
constexpr uint32_t kDiskIoUsesBlock = 0xFFFFFFFF;   // ECX: the request is in the DISKIO block
constexpr uint32_t kDiskIoRead = 0;                 // ESI
constexpr uint32_t kDiskIoWrite = 1;                // ESI
constexpr uint32_t kCarryFlag = 0x0001;             // reg_Flags: the call failed
constexpr uint32_t kVwin32WriteProtectError = 0x100A;
// A failed disk request's EAX: an MS-DOS error code (15h, drive not ready), or for the
// absolute disk functions the Int 25h/26h pair of a BIOS status in AH (80h timeout: no
// disk or the door open; AAh drive not ready; 31h no medium, from the Int 13h extensions)
// and the critical-error code in AL (02h drive not ready).
constexpr uint32_t kDosDriveNotReady = 0x15;
constexpr uint32_t kBiosTimeout = 0x80;
constexpr uint32_t kBiosDriveNotReady = 0xAA;
constexpr uint32_t kBiosNoMedium = 0x31;
constexpr uint32_t kCriticalDriveNotReady = 0x02;

// DIOC_REGISTERS: the CPU registers of the emulated MS-DOS call, in and out.
struct DiocRegisters {
    uint32_t reg_EBX;
    uint32_t reg_EDX;
    uint32_t reg_ECX;
    uint32_t reg_EAX;
    uint32_t reg_EDI;
    uint32_t reg_ESI;
    uint32_t reg_Flags;
};
static_assert(sizeof(DiocRegisters) == 28, "DIOC_REGISTERS");

// The device-parameter block of Generic IOCTL 0860h. Byte 0 set to 1 asks for the
// medium in the drive rather than the drive's defaults; the BIOS parameter block follows
// at offset 7: its fields below are offsets into the whole block.
struct DeviceParameters {
    uint8_t bytes[40];
};
constexpr unsigned kDeviceParametersSpecialFunctions = 0;
constexpr unsigned kDeviceParametersBytesPerSector = 7;    // word
constexpr unsigned kDeviceParametersTotalSectors = 15;     // word; 0: the 32-bit field
constexpr unsigned kDeviceParametersSectorsPerTrack = 20;  // word
constexpr unsigned kDeviceParametersHeads = 22;            // word
constexpr unsigned kDeviceParametersBigTotalSectors = 28;  // dword
constexpr uint8_t kCurrentMedium = 1;

// The medium's geometry in the block's BPB: sectors per track, heads and total sectors
// (0 where a field is empty). Sectors of another size than 512 bytes give none at all.
DiskGeometry GeometryOfDeviceParameters(const DeviceParameters& parameters);

// DISKIO, packed: start sector (32-bit), number of sectors (16-bit), buffer (32-bit).
#pragma pack(push, 1)
struct DiskIo {
    uint32_t startSector;
    uint16_t sectorCount;
    uint32_t buffer;
};
#pragma pack(pop)
static_assert(sizeof(DiskIo) == 10, "DISKIO is packed");

// 1 is A:, 2 is B:. The drive text names the drive; "B:" in either case is the second
// drive and anything else the first.
uint32_t Vwin32DriveNumber(const char* driveText);
