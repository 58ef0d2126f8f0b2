// The fade of windows while they are moved: set-up, the message filter, the fade
// threads with their exact alpha sequences, and how fades give way to each other and
// to a window's end.
#include "tests/win32/dialog_test_support.h"
#include "ui/subclass_window_win32.h"
#include "ui/window_fader_win32.h"

namespace {

const std::vector<int> kOut = {242, 230, 217, 204, 192, 179, 166, 153, 141, 128};
const std::vector<int> kIn = {141, 153, 166, 179, 191, 204, 217, 230, 242, 255};

// A top-level window whose messages pass a fader first, as a property sheet's frame's do.
class FadedWindow : public CSubclassWindow {
public:
    FadedWindow() {
        Subclass(CreateWindowExA(0, "STATIC", "Faded", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 200,
                                 100, NULL, NULL, GetModuleHandleA(NULL), NULL));
    }
    ~FadedWindow() override {
        if (Handle() != NULL) DestroyWindow(Handle());
    }
    WindowFader fader;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        fader.Filter(hwnd_, message, wParam);
        return CSubclassWindow::WindowProc(message, wParam, lParam);
    }
};

class FaderTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        ASSERT_NE(window.Handle(), (HWND)NULL);
    }
    // The filter alone for presses and commands: the real messages would start the
    // system's move loop.
    void Press(WPARAM hitTest = HTCAPTION) { window.fader.Filter(window.Handle(), WM_NCLBUTTONDOWN, hitTest); }
    void MoveCommand(WPARAM command) { window.fader.Filter(window.Handle(), WM_SYSCOMMAND, command); }
    void Cursor(HWND w) { SendMessageA(w, WM_SETCURSOR, reinterpret_cast<WPARAM>(w), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)); }
    // Waits until `count` alphas have been applied to the window.
    bool WaitForAlphas(HWND w, size_t count) {
        for (DWORD start = GetTickCount(); GetTickCount() - start < 3000; Sleep(1)) {
            if (AlphaRecorder::AlphasFor(w).size() >= count) return true;
        }
        return false;
    }

    WindowFxSetting fx{1};
    AlphaRecorder recorder;
    FadedWindow window;
};

TEST_F(FaderTest, SetupFadeMakesTheWindowLayeredAndOpaque) {
    window.fader.SetupFade(window.Handle(), 128, 255, 10);
    EXPECT_TRUE(IsLayered(window.Handle()));
    EXPECT_EQ(AlphaRecorder::AlphasFor(window.Handle()), std::vector<int>{255});
    FadeState state = ReadFadeState();
    EXPECT_EQ(state.minAlpha, 128);
    EXPECT_EQ(state.maxAlpha, 255);
    EXPECT_EQ(state.currentAlpha, 255);
    EXPECT_EQ(state.stepDelayMs, 10);
}

TEST_F(FaderTest, WithWindowFxOffTheWindowStaysUnlayeredAndTheStateUntouched) {
    SetFadeParameters(100, 200, 5);
    WindowFxSetting off(0);
    window.fader.SetupFade(window.Handle(), 128, 255, 10);
    EXPECT_FALSE(IsLayered(window.Handle()));
    EXPECT_TRUE(window.fader.available());
    EXPECT_EQ(AlphaRecorder::CallCount(), 0u);
    EXPECT_EQ(ReadFadeState().minAlpha, 100);
    EXPECT_EQ(ReadFadeState().currentAlpha, 200);
}

TEST_F(FaderTest, WithoutPerWindowAlphaNothingIsLayeredAndNoFadeStarts) {
    UseLayeredAlphaFunction(nullptr);
    window.fader.SetupFade(window.Handle(), 128, 255, 10);
    EXPECT_FALSE(window.fader.available());
    EXPECT_FALSE(IsLayered(window.Handle()));
    Press();
    EXPECT_FALSE(window.fader.armed());
    MoveCommand(0xF012);
    EXPECT_EQ(ReadFadeState().fadeOutRunning, 0);
}

TEST_F(FaderTest, ACaptionPressFadesOutAndTheNextCursorMessageFadesBackIn) {
    window.fader.SetupFade(window.Handle(), 128, 255, 10);
    AlphaRecorder::Clear();
    Press();
    EXPECT_TRUE(window.fader.armed());
    DWORD start = GetTickCount();
    MoveCommand(0xF012);
    ASSERT_TRUE(WaitForFadesToEnd());
    EXPECT_GE(GetTickCount() - start, 90u);  // ten pauses of 10 ms
    EXPECT_EQ(AlphaRecorder::AlphasFor(window.Handle()), kOut);
    EXPECT_EQ(ReadFadeState().currentAlpha, 128);

    AlphaRecorder::Clear();
    Cursor(window.Handle());
    EXPECT_FALSE(window.fader.armed());
    ASSERT_TRUE(WaitForFadesToEnd());
    EXPECT_EQ(AlphaRecorder::AlphasFor(window.Handle()), kIn);
    EXPECT_EQ(ReadFadeState().currentAlpha, 255);

    // Disarmed: a further cursor message starts nothing.
    AlphaRecorder::Clear();
    Cursor(window.Handle());
    ASSERT_TRUE(WaitForFadesToEnd());
    EXPECT_EQ(AlphaRecorder::CallCount(), 0u);
}

TEST_F(FaderTest, OnlyAMoveByTheCaptionStartsAFade) {
    struct Case {
        WPARAM hitTest;
        WPARAM command;
        bool pressFirst;
    };
    window.fader.SetupFade(window.Handle(), 128, 255, 10);
    for (Case c : {Case{HTCAPTION, 0xF012, false},  // no press seen
                   Case{HTMENU, 0xF100, true},      // the menu bar (SC_KEYMENU)
                   Case{HTCAPTION, 0xF010, true},   // SC_MOVE from the system menu
                   Case{HTLEFT, 0xF001, true}}) {   // sizing by the border
        AlphaRecorder::Clear();
        if (c.pressFirst) Press(c.hitTest);
        MoveCommand(c.command);
        EXPECT_EQ(ReadFadeState().fadeOutRunning, 0) << c.command;
        // The cursor message disarms; at full alpha there is nothing to fade in.
        Cursor(window.Handle());
        EXPECT_FALSE(window.fader.armed());
        EXPECT_EQ(ReadFadeState().fadeInRunning, 0) << c.command;
        ASSERT_TRUE(WaitForFadesToEnd());
        EXPECT_EQ(AlphaRecorder::CallCount(), 0u) << c.command;
    }
}

// Longer pauses leave the test time to act in the middle of a fade on a busy machine.
const int kSlowStepMs = 40;

TEST_F(FaderTest, ANewFadeTakesOverFromTheAlphaReached) {
    window.fader.SetupFade(window.Handle(), 128, 255, kSlowStepMs);
    AlphaRecorder::Clear();
    ASSERT_TRUE(StartFade(FadeDirection::Out, window.Handle()));
    ASSERT_TRUE(WaitForAlphas(window.Handle(), 3));
    ASSERT_TRUE(StartFade(FadeDirection::In, window.Handle()));
    ASSERT_TRUE(WaitForFadesToEnd());

    std::vector<int> alphas = AlphaRecorder::AlphasFor(window.Handle());
    size_t turn = 0;
    while (turn + 1 < alphas.size() && alphas[turn + 1] < alphas[turn]) ++turn;
    // Down as a fade-out goes, then up exactly as a fade-in from there goes.
    std::vector<int> down(alphas.begin(), alphas.begin() + turn + 1);
    std::vector<int> up(alphas.begin() + turn + 1, alphas.end());
    ASSERT_GE(down.size(), 3u);
    ASSERT_LT(down.size(), kOut.size());
    EXPECT_EQ(down, std::vector<int>(kOut.begin(), kOut.begin() + down.size()));
    FadeSteps expected(FadeDirection::In, down.back(), 128, 255);
    std::vector<int> expectedUp;
    while (expected.WantsStep(128, 255)) expectedUp.push_back(expected.Step(128, 255));
    EXPECT_EQ(up, expectedUp);
    EXPECT_EQ(ReadFadeState().currentAlpha, 255);
}

TEST_F(FaderTest, FadesStartedBackToBackNeverWaitForEachOther) {
    window.fader.SetupFade(window.Handle(), 128, 255, 1);
    for (int round = 0; round < 30; ++round) {
        StartFade(round % 2 == 0 ? FadeDirection::Out : FadeDirection::In, window.Handle());
        if (round % 7 == 0) Sleep(3);
    }
    StartFade(FadeDirection::Out, window.Handle());  // the newest decides the end
    ASSERT_TRUE(WaitForFadesToEnd(5000));
    EXPECT_EQ(ReadFadeState().currentAlpha, 128);
    for (int alpha : AlphaRecorder::AlphasFor(window.Handle())) {
        EXPECT_GE(alpha, 128);
        EXPECT_LE(alpha, 255);
    }
}

TEST_F(FaderTest, AFadeStopsWhenItsWindowIsDestroyed) {
    HWND w = window.Handle();
    window.fader.SetupFade(w, 128, 255, kSlowStepMs);
    AlphaRecorder::Clear();
    ASSERT_TRUE(StartFade(FadeDirection::Out, w));
    ASSERT_TRUE(WaitForAlphas(w, 3));
    DestroyWindow(w);  // its WM_DESTROY passes the fader
    size_t atDestruction = AlphaRecorder::AlphasFor(w).size();
    ASSERT_TRUE(WaitForFadesToEnd());
    EXPECT_EQ(AlphaRecorder::AlphasFor(w).size(), atDestruction);
    EXPECT_LT(atDestruction, kOut.size());
    EXPECT_EQ(AlphaRecorder::CallsOnDeadWindows(), 0);
}

TEST_F(FaderTest, SettingUpASecondWindowResetsTheAlphaButNotTheFirstWindow) {
    FadedWindow second;
    window.fader.SetupFade(window.Handle(), 128, 255, 10);
    StartFade(FadeDirection::Out, window.Handle());
    ASSERT_TRUE(WaitForFadesToEnd());
    size_t firstCalls = AlphaRecorder::AlphasFor(window.Handle()).size();
    second.fader.SetupFade(second.Handle(), 128, 255, 10);
    EXPECT_EQ(ReadFadeState().currentAlpha, 255);
    EXPECT_EQ(AlphaRecorder::AlphasFor(window.Handle()).size(), firstCalls);
    EXPECT_EQ(AlphaRecorder::AlphasFor(second.Handle()), std::vector<int>{255});
}

// Through CMyDialog: its initialisation, its window procedure and the switches.
class MyDialogFadeTest : public DialogTest {
protected:
    WindowFxSetting fx{1};
    AlphaRecorder recorder;
    ModalWatchdog watchdog;
};

TEST_F(MyDialogFadeTest, InitialisationLayersTheDialogAndItsMessagesReachTheFader) {
    ScriptedDialog dialog(IDD_TEST_PLAIN);
    bool layered = false;
    std::vector<int> fadeIn;
    dialog.onInit = [&](ScriptedDialog& d) {
        layered = IsLayered(d.Handle());
        d.Post(WM_APP);
    };
    dialog.onApp = [&](ScriptedDialog& d, WPARAM) {
        StartFade(FadeDirection::Out, d.Handle());
        WaitForFadesToEnd();
        AlphaRecorder::Clear();
        d.Send(WM_NCLBUTTONDOWN, HTCLIENT, 0);  // any non-client press arms
        d.Send(WM_SETCURSOR, reinterpret_cast<WPARAM>(d.Handle()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        WaitForFadesToEnd();
        fadeIn = AlphaRecorder::AlphasFor(d.Handle());
        d.EndDialog(0);
    };
    EXPECT_EQ(dialog.DoModal(), 0);
    EXPECT_TRUE(layered);
    EXPECT_EQ(fadeIn, kIn);
}

TEST_F(MyDialogFadeTest, DisableKeepsTheOtherExtendedStylesAndEnableLayersAgain) {
    ScriptedDialog dialog(IDD_TEST_NO_TIPS);
    LONG disabled = 0, enabled = 0;
    std::vector<int> alphas;
    dialog.onInit = [&](ScriptedDialog& d) {
        d.DisableWindowFx();
        disabled = d.ExStyle();
        d.DisableWindowFx();  // not layered: nothing to do
        AlphaRecorder::Clear();
        d.EnableWindowFx();
        enabled = d.ExStyle();
        d.EnableWindowFx();  // already layered: left alone
        alphas = AlphaRecorder::AlphasFor(d.Handle());
        d.EndDialog(0);
    };
    EXPECT_EQ(dialog.DoModal(), 0);
    EXPECT_FALSE(disabled & WS_EX_LAYERED);
    EXPECT_TRUE(disabled & WS_EX_ACCEPTFILES);
    EXPECT_TRUE(disabled & WS_EX_APPWINDOW);
    EXPECT_TRUE(enabled & WS_EX_LAYERED);
    EXPECT_TRUE(enabled & WS_EX_ACCEPTFILES);
    EXPECT_EQ(alphas, std::vector<int>{255});
}

TEST_F(MyDialogFadeTest, ADialogDestroyedDuringAFadeIsNotTouchedAgain) {
    ScriptedDialog dialog(IDD_TEST_PLAIN);
    HWND window = NULL;
    size_t atDestruction = 0;
    dialog.onInit = [](ScriptedDialog& d) { d.Post(WM_APP); };
    dialog.onApp = [&](ScriptedDialog& d, WPARAM) {
        window = d.Handle();
        AlphaRecorder::Clear();
        StartFade(FadeDirection::Out, window);
        for (DWORD start = GetTickCount(); AlphaRecorder::AlphasFor(window).size() < 3 &&
                                           GetTickCount() - start < 3000;) {
            Sleep(1);
        }
        DestroyWindow(window);
        atDestruction = AlphaRecorder::AlphasFor(window).size();
    };
    EXPECT_EQ(dialog.DoModal(), -1);
    ASSERT_TRUE(WaitForFadesToEnd());
    EXPECT_GE(atDestruction, 3u);
    EXPECT_EQ(AlphaRecorder::AlphasFor(window).size(), atDestruction);
    EXPECT_EQ(AlphaRecorder::CallsOnDeadWindows(), 0);
}

}  // namespace
