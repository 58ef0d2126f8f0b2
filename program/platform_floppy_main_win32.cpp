// vorlix.exe's entry point: the program over the running system's own floppy devices.
// The end-to-end tests' build of the program has another entry, whose devices pause
// each unit (tests/gui/slow_floppy_main_win32.cpp).
#include <windows.h>

#include "app/detect_platform.h"
#include "engine/job/platform_floppy_devices_win32.h"
#include "program/vorlix_main_win32.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const PlatformInfo platform = DetectPlatform();
    SystemTargetFiles files(platform.ntMajorVersion != 0);
    PlatformFloppyDevices devices(platform.ntMajorVersion, kProgramTrailerPolicy, &files);
    return RunVorlix(platform, devices);
}
