#include <windows.h>

#include "app/detect_platform.h"

PlatformInfo DetectPlatform() {
    // The plain record, not the larger EX one, which systems before Windows 2000 refuse.
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    static_assert(sizeof(OSVERSIONINFOA) == 148, "the size Windows 95 accepts");
    if (!GetVersionExA(&version)) {
        return PlatformInfo();
    }
    return DetectPlatform(version.dwPlatformId, version.dwMajorVersion, version.dwBuildNumber);
}
