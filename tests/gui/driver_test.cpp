// The driver against a stand-in program of ours, so that a fault in the driver shows
// as such and not as a fault of vorlix.exe.
#include <gtest/gtest.h>

#include "tests/gui/gui_environment.h"
#include "tests/gui/vorlix_driver.h"
#include "tests/support/temp_dir.h"

namespace gui {
namespace {

constexpr int kEdit = 100;
constexpr int kAsk = 101;

class DriverTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(0, target_.Start(DriverTarget(), {})) << DriverTarget();
        window_ = WaitForTopWindow(target_.Id(), "DriverTarget", "Driver*");
        ASSERT_NE(nullptr, window_) << "the stand-in window did not appear";
    }

    DrivenProcess target_;
    HWND window_ = NULL;
};

TEST_F(DriverTest, ReadsAndSetsControlTexts) {
    EXPECT_EQ("Driver target", WindowText(window_));
    EXPECT_EQ("Ask", ControlText(window_, kAsk));
    EXPECT_TRUE(ControlEnabled(window_, kAsk));
    EXPECT_TRUE(ControlVisible(window_, kEdit));
    EXPECT_FALSE(ControlVisible(window_, 999));
    ASSERT_TRUE(SetControlText(window_, kEdit, "typed text"));
    EXPECT_EQ("typed text", ControlText(window_, kEdit));
}

TEST_F(DriverTest, RecordsAMessageBoxAndAnswersIt) {
    for (int answer : {IDNO, IDYES}) {
        ASSERT_TRUE(PressButton(window_, kAsk));
        ShownMessage box = WaitForMessageBox(target_.Id());
        ASSERT_NE(nullptr, box.window) << "no message box came";
        EXPECT_EQ("Target", box.caption);
        EXPECT_EQ("Replace it?\nReally?", box.text);
        EXPECT_EQ((std::vector<int>{IDYES, IDNO}), box.buttons);
        ASSERT_TRUE(Answer(box, answer));
        Sleep(200);
        EXPECT_EQ(answer == IDYES ? "yes" : "no", ControlText(window_, kEdit));
    }
}

TEST_F(DriverTest, DropsFilesThatTheTargetReadsThroughTheShell) {
    ASSERT_EQ(0, DropFiles(window_, {"C:\\first one.img", "C:\\b.imz", "C:\\c.exe"}));
    for (int i = 0; i < 50 && ControlText(window_, kEdit).empty(); ++i) Sleep(50);
    EXPECT_EQ("3|C:\\first one.img", ControlText(window_, kEdit));
    EXPECT_TRUE(target_.Running()) << "the target did not survive the drop";
}

TEST_F(DriverTest, ReportsTheExitStatusAndEndsAProgramThatDoesNotEnd) {
    EXPECT_FALSE(target_.Wait(300));
    PostMessageA(window_, WM_CLOSE, 0, 0);
    ASSERT_TRUE(target_.Wait());
    EXPECT_EQ(7u, target_.ExitCode());

    ASSERT_EQ(0, target_.Start(DriverTarget(), {}));
    ASSERT_NE(nullptr, WaitForTopWindow(target_.Id(), "DriverTarget", nullptr));
    target_.Terminate();
    EXPECT_FALSE(target_.Running());
}

TEST_F(DriverTest, PhotographsTheScreenAsABmpFile) {
    TempDir folder;
    std::string shot = folder.File("screen.bmp");
    ASSERT_EQ(0, SaveScreenshot(shot));
    std::string bytes = ReadWholeFile(shot);
    ASSERT_GT(bytes.size(), 54u);
    EXPECT_EQ("BM", bytes.substr(0, 2));
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ(54u + ((width * 3 + 3) & ~3u) * height, bytes.size());
}

TEST(WindowsPathTest, TurnsUnixPathsIntoDriveZPaths) {
    EXPECT_EQ("Z:\\work\\a b\\x.exe", WindowsPath("/work/a b/x.exe"));
    EXPECT_EQ("C:\\x.img", WindowsPath("C:\\x.img"));
    EXPECT_EQ("", WindowsPath(""));
}

}  // namespace
}  // namespace gui
