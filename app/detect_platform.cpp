#include "app/detect_platform.h"

namespace {

// Windows Me is the 9x release with build 3000 (4.90.3000).
const uint32_t kWindowsMeBuild = 3000;

}  // namespace

PlatformInfo DetectPlatform(uint32_t platformId, uint32_t majorVersion, uint32_t buildNumber) {
    PlatformInfo platform;
    if (platformId == kPlatformWindowsNt) {
        platform.ntMajorVersion = majorVersion;
    } else if (platformId == kPlatformWindows9x) {
        platform.isWindowsMe = (buildNumber & 0xFFFFu) == kWindowsMeBuild ? 1 : 0;
    }
    return platform;
}
