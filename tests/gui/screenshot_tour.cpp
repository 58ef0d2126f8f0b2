// The pictures of README: every window a user meets, photographed under Wine as it
// shows itself. Not a check, so the tests are disabled; scripts/take-screenshots runs
// them by hand with VORLIX_SCREENSHOT_DIR naming the folder for the BMP files.
#include <windows.h>

#include <commctrl.h>
#include <stdlib.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/main_dialog_ids.h"
#include "resources/string_ids.h"
#include "tests/gui/vorlix_run.h"

namespace gui {
namespace {

constexpr int kOpenBrowse = 1006;    // the main dialog's write browse button
constexpr DWORD kSettleMs = 1500;    // a fade in, and Wine's first paint, are over by then

class ScreenshotTour : public VorlixRunTest {
protected:
    void SetUp() override {
        VorlixRunTest::SetUp();
        if (IsSkipped()) return;
        const char* folder = getenv("VORLIX_SCREENSHOT_DIR");
        if (folder == nullptr) GTEST_SKIP() << "VORLIX_SCREENSHOT_DIR names no folder";
        shots_ = WindowsPath(folder);
    }

    // Photographs `window` once it has settled, as `name`.bmp.
    void Shoot(HWND window, const char* name) {
        ASSERT_NE(nullptr, window) << "no window for " << name;
        SetForegroundWindow(window);
        Sleep(kSettleMs);
        EXPECT_EQ(0, SaveWindowScreenshot(window, shots_ + "\\" + name + ".bmp")) << name;
    }

    // An image of a sample disk read by the program itself, with `arguments` added.
    std::string ReadSample(int kilobytes, const std::string& name,
                           const std::vector<std::string>& arguments = {}) {
        EXPECT_EQ(0, InsertDisk(SampleDisk("sample", kilobytes)));
        const std::string image = Image(name);
        std::vector<std::string> words = {"/r", image, "/f"};
        words.insert(words.end(), arguments.begin(), arguments.end());
        Start(words);
        EXPECT_EQ(0u, FinishWithoutMessages());
        return image;
    }

    std::string shots_;
};

// The main dialog with an image in its Write panel, then its settings.
TEST_F(ScreenshotTour, DISABLED_MainDialogAndSettingsPage) {
    RequireJobs();
    if (IsSkipped()) return;
    const std::string image = ReadSample(1440, "sample.imz", {"/d", "Sample disk"});
    Start({image});
    const HWND main = WaitForDialogWith(vorlix_.Id(), kOpenBrowse);
    Shoot(main, "main-dialog");
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(ID_SETTINGS, 0), 0);
    const HWND sheet = WaitForTopWindow(vorlix_.Id(), "#32770", "Settings");
    Shoot(sheet, "settings-page");
    PressButton(sheet, IDCANCEL);
    WaitUntilGone(sheet);
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, ExitStatus());
}

// Halfway through the read-back of a write with verify.
TEST_F(ScreenshotTour, DISABLED_ProgressWhileVerifying) {
    RequireJobs();
    if (IsSkipped()) return;
    const std::string image = ReadSample(1440, "verified.imz");
    ASSERT_EQ(0, InsertDisk(SampleDisk("blank", 1440)));
    {
        UnitPause pause("40");
        StartSlowFloppy({"/f", "/v", "/w", image});
    }
    const HWND progress = WaitForDialogWith(vorlix_.Id(), IDC_PROGRESS_STATUS);
    ASSERT_NE(nullptr, progress) << "no progress dialog";
    const std::string verifying = Message(IDS_VERIFYING_FLOPPY, "1440 kB");
    for (DWORD start = GetTickCount(); GetTickCount() - start < kJobMs && IsWindow(progress);) {
        const LRESULT percent = SendDlgItemMessageA(progress, IDC_PROGRESS_BAR, PBM_GETPOS, 0, 0);
        if (ControlText(progress, IDC_PROGRESS_STATUS) == verifying && percent >= 30) break;
        Sleep(10);
    }
    ASSERT_TRUE(IsWindow(progress)) << "the job ended before its read-back was half done";
    Shoot(progress, "progress-dialog");
    EXPECT_EQ(0u, FinishWithoutMessages());
}

// The report of "/t" on a self-extracting image with a description and its checksum.
TEST_F(ScreenshotTour, DISABLED_CheckReportAndRestorerStub) {
    RequireJobs();
    if (IsSkipped()) return;
    const std::string image = ReadSample(1440, "sample.exe", {"/d", "Sample disk"});
    Start({"/t", image});
    const ShownMessage report = WaitForMessageBox(vorlix_.Id());
    Shoot(report.window, "check-report");
    if (report.window != NULL) Answer(report, IDOK);
    ExitStatus();

    ASSERT_EQ(0, InsertDisk(SampleDisk("blank", 1440)));
    DrivenProcess stub;
    ASSERT_EQ(0, stub.Start(image, {}));
    const HWND window = WaitForTopWindow(stub.Id(), nullptr, "Create Floppy");
    Shoot(window, "restorer-stub");
    if (window != NULL) PostMessageA(window, WM_CLOSE, 0, 0);
    stub.Wait();
}

}  // namespace
}  // namespace gui
