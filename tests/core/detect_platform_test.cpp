#include "app/detect_platform.h"

#include <gtest/gtest.h>

namespace {

struct VersionCase {
    const char* system;
    uint32_t platformId;
    uint32_t majorVersion;
    uint32_t buildNumber;
    uint32_t ntMajorVersion;
    uint32_t isWindowsMe;
};

// 9x build numbers carry major and minor version in their high word.
const VersionCase kVersions[] = {
    {"Windows NT 4", kPlatformWindowsNt, 4, 1381, 4, 0},
    {"Windows 2000", kPlatformWindowsNt, 5, 2195, 5, 0},
    {"Windows 10", kPlatformWindowsNt, 10, 19045, 10, 0},
    {"NT with a build of 3000 is no Me", kPlatformWindowsNt, 5, 3000, 5, 0},
    {"Windows 95", kPlatformWindows9x, 4, 0x04000000 | 950, 0, 0},
    {"Windows 98", kPlatformWindows9x, 4, 0x040A0000 | 1998, 0, 0},
    {"Windows Me", kPlatformWindows9x, 4, 0x045A0000 | 3000, 0, 1},
    {"Windows Me, bare build number", kPlatformWindows9x, 4, 3000, 0, 1},
    {"Windows 98 SE", kPlatformWindows9x, 4, 0x040A0000 | 2222, 0, 0},
    {"Win32s", kPlatformWin32s, 3, 0, 0, 0},
    {"Windows CE", 3, 5, 3000, 0, 0},
};

void PrintTo(const VersionCase& c, std::ostream* out) {
    *out << c.system;
}

class DetectPlatformTest : public ::testing::TestWithParam<VersionCase> {};

TEST_P(DetectPlatformTest, FamilyAndMeFromTheVersionRecord) {
    const VersionCase& c = GetParam();
    const PlatformInfo platform = DetectPlatform(c.platformId, c.majorVersion, c.buildNumber);
    EXPECT_EQ(platform.ntMajorVersion, c.ntMajorVersion);
    EXPECT_EQ(platform.isWindowsMe, c.isWindowsMe);
}

INSTANTIATE_TEST_SUITE_P(Systems, DetectPlatformTest, ::testing::ValuesIn(kVersions));

}  // namespace
