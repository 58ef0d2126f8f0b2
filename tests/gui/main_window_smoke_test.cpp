// Smoke tests of vorlix.exe's main window: its first state, the keys it ignores, the
// menu commands that exist, and the window position kept from one start to the next.
#include <gtest/gtest.h>

#include "tests/gui/vorlix_run.h"

namespace gui {
namespace {

constexpr int kReadPath = 1000, kReadBrowse = 1001, kReadStart = 1004, kReadDescription = 1028;
constexpr int kWritePath = 1005, kWriteBrowse = 1006, kWriteStart = 1007, kImageDescription = 1027;
constexpr int kCommandLineHelp = 32775, kExit = 57665;

class MainWindowSmoke : public VorlixRunTest {
protected:
    HWND OpenMainDialog() {
        Start({});
        HWND main = WaitForDialogWith(vorlix_.Id(), kWriteBrowse);
        EXPECT_NE(nullptr, main) << "the main dialog did not appear";
        return main;
    }

    void Command(HWND window, int id) { PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, 0), 0); }
};

TEST_F(MainWindowSmoke, OpensWithNoPanelActive) {
    HWND main = OpenMainDialog();
    ASSERT_NE(nullptr, main);
    EXPECT_EQ("Vorlix", WindowText(main));
    for (int id : {kReadPath, kReadStart, kWritePath, kWriteStart}) {
        EXPECT_FALSE(ControlEnabled(main, id)) << id;
        EXPECT_EQ("", ControlText(main, id == kReadStart || id == kWriteStart ? kReadPath : id)) << id;
    }
    EXPECT_FALSE(ControlVisible(main, kReadDescription));
    EXPECT_FALSE(ControlVisible(main, kImageDescription));
    EXPECT_TRUE(ControlEnabled(main, kReadBrowse));
    EXPECT_TRUE(ControlEnabled(main, kWriteBrowse));
    EXPECT_EQ(0, SaveScreenshot(ArtifactPath("main-dialog-empty.bmp")));
    Command(main, kExit);
    EXPECT_EQ(0u, ExitStatus());
}

TEST_F(MainWindowSmoke, EscapeAndReturnDoNotCloseIt) {
    HWND main = OpenMainDialog();
    ASSERT_NE(nullptr, main);
    PressKey(main, VK_ESCAPE);
    PressKey(GetDlgItem(main, kWriteBrowse), VK_ESCAPE);
    PressKey(GetDlgItem(main, kWritePath), VK_RETURN);
    PressKey(main, VK_RETURN);
    Sleep(1000);
    EXPECT_TRUE(IsWindowVisible(main));
    EXPECT_TRUE(vorlix_.Running());
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, ExitStatus());
}

TEST_F(MainWindowSmoke, HelpMenuShowsTheCommandLineHelpOverIt) {
    HWND main = OpenMainDialog();
    ASSERT_NE(nullptr, main);
    Command(main, kCommandLineHelp);
    HWND help = WaitForTopWindow(vorlix_.Id(), "#32770", "Commandline Help");
    ASSERT_NE(nullptr, help);
    EXPECT_FALSE(IsWindowEnabled(main)) << "the help is modal over the main dialog";
    ASSERT_TRUE(PressButton(help, IDOK));
    EXPECT_TRUE(WaitUntilGone(help));
    for (int i = 0; i < 50 && !IsWindowEnabled(main); ++i) Sleep(50);
    EXPECT_TRUE(IsWindowEnabled(main));
    EXPECT_TRUE(vorlix_.Running());
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, ExitStatus());
}

TEST_F(MainWindowSmoke, KeepsItsPositionForTheNextStart) {
    HWND main = OpenMainDialog();
    ASSERT_NE(nullptr, main);
    ASSERT_TRUE(SetWindowPos(main, NULL, 123, 87, 0, 0, SWP_NOSIZE | SWP_NOZORDER));
    PostMessageA(main, WM_CLOSE, 0, 0);
    ASSERT_EQ(0u, ExitStatus());

    main = OpenMainDialog();
    ASSERT_NE(nullptr, main);
    RECT place;
    ASSERT_TRUE(GetWindowRect(main, &place));
    EXPECT_EQ(123, place.left);
    EXPECT_EQ(87, place.top);
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, ExitStatus());
}

}  // namespace
}  // namespace gui
