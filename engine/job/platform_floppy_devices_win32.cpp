#include "engine/job/platform_floppy_devices_win32.h"

FloppyDevice& PlatformFloppyDevices::DeviceFor(const char* driveText) {
    if (method_ == DeviceMethod::Nt) {
        nt_.emplace(driveText);
        return *nt_;
    }
    vwin32_.emplace(driveText);
    return *vwin32_;
}
