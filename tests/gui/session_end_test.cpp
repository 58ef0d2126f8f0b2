// A log-off or shut-down while a job runs, as Windows announces it to every top-level
// window: the job stops as a cancel stops it, and the program ends before the session
// takes it, leaving an image it was replacing as it was and nothing beside it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "resources/string_ids.h"
#include "tests/gui/vorlix_run.h"
#include "tests/support/binary_data.h"

namespace gui {
namespace {

using ::testing::ElementsAre;

constexpr int kProgressControl = 1003;

struct EndCase {
    const char* name;
    bool toMainWindow;  // else to the progress dialog
};

class SessionEndRun : public VorlixRunTest, public ::testing::WithParamInterface<EndCase> {};

TEST_P(SessionEndRun, AReadOntoAnOldImageIsCancelledAndTheImageKept) {
    RequireJobs();
    if (IsSkipped()) return;
    UnitPause pause("1000");
    ASSERT_EQ(0, InsertDisk(SampleDisk("sample", 1440)));
    const std::string image = Image("kept.img");
    const std::string before = BinaryTestData(737280, 91);
    WriteWholeFile(image, before);
    StartSlowFloppy({"/r", image, "/f"});
    ASSERT_TRUE(Answer(ExpectMessage(IDS_ASK_REPLACE_EXISTING, image), IDYES));
    const HWND progress = WaitForDialogWith(vorlix_.Id(), kProgressControl);
    ASSERT_NE(nullptr, progress) << "no progress dialog";
    // Unattended, the main dialog stays hidden: it owns the progress dialog.
    const HWND window = GetParam().toMainWindow ? GetWindow(progress, GW_OWNER) : progress;
    ASSERT_NE(nullptr, window);

    DWORD_PTR answer = 0;
    ASSERT_NE(0, SendMessageTimeoutA(window, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer));
    EXPECT_EQ(static_cast<DWORD_PTR>(TRUE), answer) << "the program held up the session";
    EXPECT_TRUE(vorlix_.Running()) << "it ended before the session did";
    // The program ends inside the message: no answer comes back.
    SendMessageTimeoutA(window, WM_ENDSESSION, TRUE, 0, SMTO_ABORTIFHUNG, 15000, &answer);

    ASSERT_TRUE(vorlix_.Wait(15000)) << "the program outlived the session";
    EXPECT_EQ(2u, vorlix_.ExitCode()) << "not ended as a cancelled job";
    EXPECT_TRUE(ReadWholeFile(image) == before) << "the old image was changed";
    EXPECT_THAT(FileNamesIn(folder_.path()), ElementsAre("kept.img")) << "a partial image remains";
}

INSTANTIATE_TEST_SUITE_P(
    Windows, SessionEndRun,
    ::testing::Values(EndCase{"ProgressDialog", false}, EndCase{"MainDialog", true}),
    [](const ::testing::TestParamInfo<EndCase>& param) { return std::string(param.param.name); });

// A session that ends while no job runs is left alone, as before.
using SessionEndIdle = VorlixRunTest;

TEST_F(SessionEndIdle, WithoutAJobTheProgramDoesNotEndItself) {
    Start({});
    const HWND main = WaitForDialogWith(vorlix_.Id(), 1006);
    ASSERT_NE(nullptr, main) << "the main dialog did not appear";
    DWORD_PTR answer = 0;
    ASSERT_NE(0, SendMessageTimeoutA(main, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer));
    EXPECT_EQ(static_cast<DWORD_PTR>(TRUE), answer);
    EXPECT_NE(0, SendMessageTimeoutA(main, WM_ENDSESSION, TRUE, 0, SMTO_ABORTIFHUNG, 5000, &answer));
    EXPECT_FALSE(vorlix_.Wait(1000)) << "the program ended without a job to stop";
}

}  // namespace
}  // namespace gui
