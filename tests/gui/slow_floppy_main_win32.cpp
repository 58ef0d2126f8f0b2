// vorlix_slow_floppy.exe, a build of vorlix.exe for the end-to-end tests only: the
// program over the system's floppy devices with a pause before each unit (and each
// sector of a unit read again), so that a read keeps its progress dialog up long enough
// to be watched and cancelled. A disk image behind a drive letter is otherwise read faster
// than a window can be found. VORLIX_SLOW_FLOPPY_UNIT_MS sets the pause, as a test
// needs a unit as slow as a bad sector's retries on a real drive.
#include <windows.h>

#include <stdlib.h>

#include "app/detect_platform.h"
#include "engine/job/platform_floppy_devices_win32.h"
#include "program/vorlix_main_win32.h"
#include "tests/support/slow_floppy_devices.h"

namespace {

constexpr DWORD kUnitPauseMs = 2;

DWORD UnitPauseMs() {
    char text[16] = "";
    const DWORD length = GetEnvironmentVariableA("VORLIX_SLOW_FLOPPY_UNIT_MS", text, sizeof text);
    if (length == 0 || length >= sizeof text) return kUnitPauseMs;
    return static_cast<DWORD>(strtoul(text, nullptr, 10));
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const PlatformInfo platform = DetectPlatform();
    SystemTargetFiles files(platform.ntMajorVersion != 0);
    PlatformFloppyDevices system(platform.ntMajorVersion, kProgramTrailerPolicy, &files);
    const DWORD pauseMs = UnitPauseMs();
    SlowFloppyDevices devices(system, [pauseMs] { Sleep(pauseMs); });
    return RunVorlix(platform, devices);
}
