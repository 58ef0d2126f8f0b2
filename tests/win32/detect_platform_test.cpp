#include <windows.h>

#include <gtest/gtest.h>

#include "app/detect_platform.h"

// GetVersion packs the same facts differently (bit 31 set on the 9x family, the major
// version in the low byte), so it checks the record's reading independently.
TEST(DetectPlatformOnThisSystem, AgreesWithTheOlderVersionCall) {
    const DWORD packed = GetVersion();
    const bool ntFamily = (packed & 0x80000000u) == 0;
    const PlatformInfo platform = DetectPlatform();
    EXPECT_EQ(platform.ntMajorVersion, ntFamily ? (packed & 0xFFu) : 0u);
    if (ntFamily) {
        EXPECT_EQ(platform.isWindowsMe, 0u);
    }
}
