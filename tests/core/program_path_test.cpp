#include "platform/program_path.h"

#include <gtest/gtest.h>

TEST(IsFullPath, DriveOrServerRooted) {
    EXPECT_TRUE(IsFullPath("C:\\Program Files\\Vorlix\\Vorlix.exe"));
    EXPECT_TRUE(IsFullPath("z:/tools/vorlix.exe"));
    EXPECT_TRUE(IsFullPath("\\\\server\\share\\vorlix.exe"));
    EXPECT_FALSE(IsFullPath("vorlix"));
    EXPECT_FALSE(IsFullPath("vorlix.exe"));
    EXPECT_FALSE(IsFullPath("..\\bin\\vorlix.exe"));
    EXPECT_FALSE(IsFullPath("C:vorlix.exe"));       // relative to drive C:'s current folder
    EXPECT_FALSE(IsFullPath("\\bin\\vorlix.exe"));  // relative to the current drive
    EXPECT_FALSE(IsFullPath("\\\\"));
    EXPECT_FALSE(IsFullPath(""));
    EXPECT_FALSE(IsFullPath(nullptr));
}

TEST(ChooseProgramPath, WordZeroWhenFullElseTheModuleFile) {
    const std::string module = "C:\\Program Files\\Vorlix\\VORLIX.EXE";
    EXPECT_EQ(ChooseProgramPath("C:\\Program Files\\Vorlix\\Vorlix.exe", module),
              "C:\\Program Files\\Vorlix\\Vorlix.exe");
    EXPECT_EQ(ChooseProgramPath("vorlix", module), module);
    EXPECT_EQ(ChooseProgramPath(nullptr, module), module);
    EXPECT_EQ(ChooseProgramPath("vorlix", ""), "vorlix");
    EXPECT_EQ(ChooseProgramPath(nullptr, ""), "");
}
