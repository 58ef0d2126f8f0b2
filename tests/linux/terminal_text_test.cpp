// The terminal program's texts: the same as the Windows program's for every ID, filled
// as wsprintf fills them; and the device-size and mount-table rules.
#include <gtest/gtest.h>

#include "linux/device_rules.h"
#include "linux/program_strings.h"
#include "linux/terminal_messages.h"
#include "tests/support/string_table_source.h"

namespace {

TEST(TerminalStrings, EveryEntryOfTheWindowsTableIsTheSameText) {
    const StringTableSource source = LoadStringTableSource();
    ASSERT_TRUE(source.problems.empty());
    ASSERT_EQ(kProgramStringCount, source.texts.size());
    for (const auto& entry : source.texts) {
        const char* text = MessageTemplate(entry.first);
        ASSERT_NE(text, nullptr) << entry.first;
        EXPECT_EQ(std::string(text), entry.second) << entry.first;
    }
}

TEST(TerminalStrings, OwnIdsLieAboveTheWindowsTable) {
    for (unsigned i = 0; i < kProgramStringCount; ++i) EXPECT_LT(kProgramStrings[i].id, kMsgText);
    EXPECT_EQ(FormatUserMessage(UserMessage{59999, MessageStyle::Error}), "Message 59999");
}

struct Fill {
    const char* pattern;
    const char* text;
    long numbers[4];
    const char* expected;
};

class FillTemplateTest : public ::testing::TestWithParam<Fill> {};

TEST_P(FillTemplateTest, Fills) {
    const Fill& c = GetParam();
    UserMessage message{1, MessageStyle::Error, c.text, c.numbers[0], c.numbers[1], c.numbers[2], c.numbers[3]};
    EXPECT_EQ(FillMessageTemplate(c.pattern, message), c.expected);
}

const Fill kFills[] = {
    {"Unable to open %s", "/dev/fd0", {}, "Unable to open /dev/fd0"},
    {"Unable to open %s", nullptr, {}, "Unable to open "},
    {"error: %d.", nullptr, {-5}, "error: -5."},
    {"(%u of %u bytes)", nullptr, {1024, 1474560}, "(1024 of 1474560 bytes)"},
    {"sector %u (cylinder %u, head %u, sector %u)", nullptr, {37, 1, 0, 2}, "sector 37 (cylinder 1, head 0, sector 2)"},
    {"%s is %u bytes", "/dev/sdb", {8000000000}, "/dev/sdb is 8000000000 bytes"},
    {"100%% sure %x", nullptr, {}, "100% sure %x"},
    {"trailing %", nullptr, {}, "trailing %"},
    {"%d %d %d %d %d", nullptr, {1, 2, 3, 4}, "1 2 3 4 %d"},
};

INSTANTIATE_TEST_SUITE_P(Patterns, FillTemplateTest, ::testing::ValuesIn(kFills));

TEST(DeviceRules, MountPointUndoesTheKernelsEscapes) {
    EXPECT_EQ(UnescapeMountField("/media/a\\040b\\011c\\134d"), "/media/a b\tc\\d");
    EXPECT_EQ(UnescapeMountField("/odd\\09x\\"), "/odd\\09x\\");
}

TEST(DeviceRules, MountPointIsFoundByDeviceNumberNotByName) {
    const std::string mounts =
        "proc /proc proc rw 0 0\n"
        "/dev/root / ext4 rw 0 0\n"
        "/dev/disk/by-label/FLOPPY /mnt/fl\\040op vfat rw 0 0\n";
    auto deviceOf = [](const std::string& source, uint64_t* number) {
        if (source == "/dev/root") *number = 1;
        else if (source == "/dev/disk/by-label/FLOPPY") *number = 7;
        else return false;
        return true;
    };
    EXPECT_EQ(FindMountPoint(mounts, 7, deviceOf), "/mnt/fl op");
    EXPECT_EQ(FindMountPoint(mounts, 1, deviceOf), "/");
    EXPECT_EQ(FindMountPoint(mounts, 9, deviceOf), "");
    EXPECT_EQ(FindMountPoint("", 7, deviceOf), "");
}

}  // namespace
