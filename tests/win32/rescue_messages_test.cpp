// The read job's messages about a failing disk as the message box shows them: the
// composed part with its numbers and the template's own values in their places.
#include <gtest/gtest.h>

#include <string>

#include "engine/job/rescue_text.h"
#include "platform/message_box_sink_win32.h"
#include "resources/string_ids.h"

namespace {

std::string Shown(const UserMessage& message) {
    char out[kMessageTextSize];
    FormatUserMessage(NULL, message, out, sizeof out);
    return out;
}

struct Case {
    const char* name;
    UserMessage message;
    const char* expected;
};

class RescueMessageText : public ::testing::TestWithParam<Case> {};

TEST_P(RescueMessageText, ReadsAsOneSentence) {
    EXPECT_EQ(Shown(GetParam().message), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, RescueMessageText,
    ::testing::Values(
        Case{"SectorInFrontOfTheError",
             UserMessage{IDS_SECTOR_READ_FAILED_AT, MessageStyle::Error,
                         "Sector 105 (cylinder 2, head 1, sector 16): ", 21},
             "Sector 105 (cylinder 2, head 1, sector 16): Failed to read sector on floppy disk "
             "(error: 21).\nThe disk is probably bad and should be replaced."},
        Case{"RereadQuestion",
             UserMessage{IDS_ASK_REREAD_BAD_SECTORS, MessageStyle::Question, "C:\\disks\\old.img.map", 9},
             "An earlier read of this disk could not read 9 sectors (listed in "
             "C:\\disks\\old.img.map).\nRead only those sectors again?"},
        Case{"ProgressWithBadSectors",
             UserMessage{IDS_READING_FLOPPY_BAD_SECTORS, MessageStyle::Information, "1440 kB", 3},
             "Reading floppy (1440 kB): 3 bad sectors so far"}),
    [](const ::testing::TestParamInfo<Case>& p) { return std::string(p.param.name); });

TEST(RescueMessageText, RecoveryReportWithTheLongestPathIsShownWhole) {
    const std::string map = "C:\\" + std::string(252, 'p') + ".img.map";
    char text[kRecoveryTextSize];
    FormatRecoveryText(text, 2870, 2880, 10, map.c_str());
    EXPECT_EQ(Shown(UserMessage{IDS_SECTORS_RECOVERED, MessageStyle::Warning, text}),
              "Recovered 2870 of 2880 sectors.\n10 sectors could not be read and were filled with "
              "zeros; they are listed in " + map + ".");
}

}  // namespace
