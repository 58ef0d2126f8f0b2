// A running job and its end, as a user meets them: Enter in the progress dialog, and a
// cancelled job whose worker is still in a slow unit (a bad sector's retries on a real
// drive) while the main window is used and closed.
#include <gtest/gtest.h>

#include "engine/image/image_trailer.h"
#include "resources/string_ids.h"
#include "tests/gui/vorlix_run.h"

namespace gui {
namespace {

constexpr int kOpenBrowse = 1006, kWriteStart = 1007;
constexpr int kProgressControl = 1003;
constexpr WPARAM kExitCommand = 57665;  // File > Exit

class JobControlRun : public VorlixRunTest {
protected:
    std::string SampleImage() {
        std::string image = Image("sample.img");
        EXPECT_TRUE(CopyFileA(SampleDisk("sample", 1440).c_str(), image.c_str(), FALSE));
        EXPECT_EQ(0, AppendImageTrailer(image.c_str(), "Sample", 18));
        return image;
    }

    // Starts the program on the sample image with a blank disk in the drive, starts the
    // write and presses Cancel in its progress dialog; `main` is the main dialog.
    void StartAndCancelAWrite(HWND* main) {
        std::string image = SampleImage();
        ASSERT_EQ(0, InsertDisk(SampleDisk("blank", 1440)));
        StartSlowFloppy({image});
        *main = WaitForDialogWith(vorlix_.Id(), kOpenBrowse);
        ASSERT_NE(nullptr, *main) << "the main dialog did not appear";
        StartWrite(*main);
        HWND progress = WaitForDialogWith(vorlix_.Id(), kProgressControl);
        ASSERT_NE(nullptr, progress) << "no progress dialog";
        ASSERT_TRUE(PressButton(progress, IDCANCEL));
    }

    // Presses Start in the Write panel and says Yes to the overwrite question.
    void StartWrite(HWND main) {
        ASSERT_TRUE(PressButton(main, kWriteStart));
        ASSERT_TRUE(Answer(ExpectMessage(IDS_ASK_OVERWRITE_FLOPPY), IDYES));
    }
};

TEST_F(JobControlRun, EnterInTheProgressDialogLeavesTheJobRunning) {
    RequireJobs();
    if (IsSkipped()) return;
    ASSERT_EQ(0, InsertDisk(SampleDisk("sample", 1680)));
    std::string image = Image("entered.img");
    // An emergency read of a good disk goes by whole units: slow each as a sector was.
    UnitPause pause("40");
    StartSlowFloppy({"/e", "/r", image, "/f"});
    HWND progress = WaitForDialogWith(vorlix_.Id(), kProgressControl);
    ASSERT_NE(nullptr, progress) << "no progress dialog";

    // On the dialog, and on Cancel, which has the focus.
    PressKey(progress, VK_RETURN);
    PressKey(GetDlgItem(progress, IDCANCEL), VK_RETURN);
    Sleep(500);
    EXPECT_TRUE(IsWindowVisible(progress)) << "Enter ended the progress dialog";
    EXPECT_TRUE(vorlix_.Running());
    EXPECT_EQ(nullptr, WaitForMessageBox(vorlix_.Id(), 0).window) << "Enter brought a message";

    ASSERT_TRUE(PressButton(progress, IDCANCEL));
    ASSERT_TRUE(Answer(ExpectMessage(IDS_OPERATION_CANCELLED), IDOK));
    EXPECT_EQ(2u, ExitStatus());
}

// After Cancel the worker finishes its unit before the dialog says how the job ended;
// meanwhile the main window answers, and Exit ends the program once the worker is done,
// without the message about a job that no longer matters.
TEST_F(JobControlRun, TheMainWindowAnswersWhileACancelledWorkerFinishesAndExitEndsIt) {
    UnitPause pause("6000");
    HWND main = nullptr;
    ASSERT_NO_FATAL_FAILURE(StartAndCancelAWrite(&main));

    // The worker is still in its first unit.
    DWORD_PTR answer = 0;
    EXPECT_NE(0, SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer))
        << "the main window does not answer";
    EXPECT_EQ("Vorlix", WindowText(main));
    EXPECT_TRUE(vorlix_.Running());

    const DWORD exitAt = GetTickCount();
    ASSERT_TRUE(PostMessageA(main, WM_COMMAND, kExitCommand, 0));
    ASSERT_TRUE(vorlix_.Wait(15000)) << "Exit did not end the program while the worker finished";
    EXPECT_EQ(0u, vorlix_.ExitCode()) << "the program did not end cleanly";
    RecordProperty("exit_ms", static_cast<int>(GetTickCount() - exitAt));
}

// Once a cancelled worker has stopped, the dialog says so and the next job starts at once.
TEST_F(JobControlRun, AfterTheCancelMessageTheNextJobStarts) {
    UnitPause pause("1500");
    HWND main = nullptr;
    ASSERT_NO_FATAL_FAILURE(StartAndCancelAWrite(&main));
    ASSERT_TRUE(Answer(ExpectMessage(IDS_OPERATION_CANCELLED), IDOK));

    StartWrite(main);
    HWND second = WaitForDialogWith(vorlix_.Id(), kProgressControl);
    ASSERT_NE(nullptr, second) << "the second job did not start";
    ASSERT_TRUE(PressButton(second, IDCANCEL));
    ASSERT_TRUE(Answer(ExpectMessage(IDS_OPERATION_CANCELLED), IDOK));
    ASSERT_TRUE(PostMessageA(main, WM_COMMAND, kExitCommand, 0));
    EXPECT_TRUE(vorlix_.Wait(15000));
}

// Unattended, the process ends only once the cancelled worker has removed its partial
// image, however long its last unit takes.
TEST_F(JobControlRun, ACancelledReadEndsOnlyAfterItsImageIsGone) {
    RequireJobs();
    if (IsSkipped()) return;
    UnitPause pause("3000");
    ASSERT_EQ(0, InsertDisk(SampleDisk("sample", 1440)));
    std::string image = Image("slow.imz");
    StartSlowFloppy({"/r", image, "/f"});
    HWND progress = WaitForDialogWith(vorlix_.Id(), kProgressControl);
    ASSERT_NE(nullptr, progress) << "no progress dialog";
    ASSERT_TRUE(PressButton(progress, IDCANCEL));
    ASSERT_TRUE(Answer(ExpectMessage(IDS_OPERATION_CANCELLED), IDOK));
    EXPECT_EQ(2u, ExitStatus(15000));
    EXPECT_FALSE(FileExists(image)) << "the process ended before the worker removed its image";
}

}  // namespace
}  // namespace gui
