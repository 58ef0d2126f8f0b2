#include "engine/device/vwin32_records.h"

uint32_t Vwin32DriveNumber(const char* driveText) {
    const bool secondDrive = driveText != nullptr && (driveText[0] == 'B' || driveText[0] == 'b') &&
                             driveText[1] == ':' && driveText[2] == '\0';
    return secondDrive ? 2 : 1;
}
