#include "engine/device/vwin32_records.h"

uint32_t Vwin32DriveNumber(const char* driveText) {
    const bool secondDrive = driveText != nullptr && (driveText[0] == 'B' || driveText[0] == 'b') &&
                             driveText[1] == ':' && driveText[2] == '\0';
    return secondDrive ? 2 : 1;
}

namespace {

uint32_t WordAt(const DeviceParameters& parameters, unsigned offset) {
    return static_cast<uint32_t>(parameters.bytes[offset]) |
           (static_cast<uint32_t>(parameters.bytes[offset + 1]) << 8);
}

}  // namespace

DiskGeometry GeometryOfDeviceParameters(const DeviceParameters& parameters) {
    DiskGeometry geometry;
    const uint32_t bytesPerSector = WordAt(parameters, kDeviceParametersBytesPerSector);
    // An empty field is a service that fills only what the first versions read.
    if (bytesPerSector != 0 && bytesPerSector != FloppyDevice::kSectorSize) return geometry;
    geometry.sectorsPerTrack = WordAt(parameters, kDeviceParametersSectorsPerTrack);
    geometry.heads = WordAt(parameters, kDeviceParametersHeads);
    geometry.totalSectors = WordAt(parameters, kDeviceParametersTotalSectors);
    if (geometry.totalSectors == 0) {
        geometry.totalSectors = WordAt(parameters, kDeviceParametersBigTotalSectors) |
                                (WordAt(parameters, kDeviceParametersBigTotalSectors + 2) << 16);
    }
    return geometry;
}
