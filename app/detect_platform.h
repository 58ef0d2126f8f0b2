#pragma once
#include <stdint.h>

#include "app/settings.h"

// Platform ids of the operating system's version record.
enum : uint32_t {
    kPlatformWin32s = 0,
    kPlatformWindows9x = 1,
    kPlatformWindowsNt = 2,
};

// What the program needs to know about the platform, from the three fields of the
// version record that matter. Only the low 16 bits of a 9x build number are the build:
// the high word there repeats the major and minor version.
PlatformInfo DetectPlatform(uint32_t platformId, uint32_t majorVersion, uint32_t buildNumber);

// Asks the running system (Windows build only). A system that will not answer counts as
// neither family, which leaves both fields 0.
PlatformInfo DetectPlatform();
