// The dialog framework under Wine: our own modal loop, its owner handling, the
// PreTranslateMessage hook, nesting, WM_QUIT, message boxes from handlers.
#include <atomic>
#include <thread>

#include "tests/win32/dialog_test_support.h"
#include "ui/item_text_win32.h"

namespace {

using FrameworkTest = DialogTest;

TEST_F(FrameworkTest, DoModalReturnsTheResultOfEndDialogAndDestroysTheWindow) {
    ModalWatchdog watchdog;
    ScriptedDialog dialog(IDD_TEST_PLAIN);
    HWND window = NULL;
    dialog.onInit = [&](ScriptedDialog& d) {
        window = d.Handle();
        d.Post(WM_APP);
    };
    dialog.onApp = [](ScriptedDialog& d, WPARAM) { d.EndDialog(1234); };
    EXPECT_EQ(dialog.DoModal(), 1234);
    EXPECT_TRUE(dialog.shown);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(dialog.Handle(), (HWND)NULL);
}

TEST_F(FrameworkTest, OkAndCancelEndTheDialogWithTheirIds) {
    struct Case {
        UINT message;
        WPARAM wParam;
        int expected;
    };
    for (Case c : {Case{WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), IDOK},
                   Case{WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), IDCANCEL},
                   Case{WM_CLOSE, 0, IDCANCEL}}) {
        ModalWatchdog watchdog;
        ScriptedDialog dialog(IDD_TEST_PLAIN);
        dialog.onInit = [&](ScriptedDialog& d) { d.Post(c.message, c.wParam, 0); };
        EXPECT_EQ(dialog.DoModal(), c.expected) << "message " << c.message;
    }
}

TEST_F(FrameworkTest, AnEditNotificationFromControlOneDoesNotEndTheDialog) {
    ModalWatchdog watchdog;
    ScriptedDialog dialog(IDD_TEST_PLAIN);
    dialog.onInit = [](ScriptedDialog& d) {
        d.Post(WM_COMMAND, MAKEWPARAM(IDOK, EN_CHANGE), reinterpret_cast<LPARAM>(d.Item(IDC_TEST_EDIT)));
        d.Post(WM_APP);
    };
    dialog.onApp = [](ScriptedDialog& d, WPARAM) { d.EndDialog(7); };
    EXPECT_EQ(dialog.DoModal(), 7);
}

TEST_F(FrameworkTest, AMissingTemplateGivesMinusOneAndLeavesTheOwnerEnabled) {
    OwnerWindow owner;
    CMyDialog dialog(8999, owner.Handle());
    EXPECT_EQ(dialog.DoModal(), -1);
    EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
}

TEST_F(FrameworkTest, TheOwnerIsDisabledWhileTheDialogRunsAndEnabledBeforeItGoes) {
    ModalWatchdog watchdog;
    OwnerWindow owner;
    ScriptedDialog dialog(IDD_TEST_PLAIN, owner.Handle());
    BOOL enabledDuring = TRUE;
    HWND ownerOfDialog = NULL;
    dialog.onInit = [&](ScriptedDialog& d) {
        ownerOfDialog = GetWindow(d.Handle(), GW_OWNER);
        d.Post(WM_APP);
    };
    dialog.onApp = [&](ScriptedDialog& d, WPARAM) {
        enabledDuring = IsWindowEnabled(owner.Handle());
        d.EndDialog(1);
    };
    EXPECT_EQ(dialog.DoModal(), 1);
    EXPECT_EQ(ownerOfDialog, owner.Handle());
    EXPECT_FALSE(enabledDuring);
    EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
}

// Enabled while the dialog still exists, or the activation would go to another
// program's window.
TEST_F(FrameworkTest, TheOwnerIsEnabledAgainBeforeTheDialogIsDestroyed) {
    ModalWatchdog watchdog;
    OwnerWindow owner;
    class Probe : public ScriptedDialog {
    public:
        using ScriptedDialog::ScriptedDialog;
        HWND owner = NULL;
        BOOL ownerEnabledAtDestroy = FALSE;

    protected:
        INT_PTR WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
            if (message == WM_DESTROY) ownerEnabledAtDestroy = IsWindowEnabled(owner);
            return ScriptedDialog::WindowProc(message, wParam, lParam);
        }
    } dialog(IDD_TEST_PLAIN, owner.Handle());
    dialog.owner = owner.Handle();
    dialog.onInit = [](ScriptedDialog& d) { d.EndDialog(3); };
    EXPECT_EQ(dialog.DoModal(), 3);
    EXPECT_TRUE(dialog.ownerEnabledAtDestroy);
}

TEST_F(FrameworkTest, AnOwnerDisabledBeforeStaysDisabled) {
    ModalWatchdog watchdog;
    OwnerWindow owner;
    EnableWindow(owner.Handle(), FALSE);
    ScriptedDialog dialog(IDD_TEST_PLAIN, owner.Handle());
    dialog.onInit = [](ScriptedDialog& d) { d.Post(WM_APP); };
    dialog.onApp = [](ScriptedDialog& d, WPARAM) { d.EndDialog(1); };
    EXPECT_EQ(dialog.DoModal(), 1);
    EXPECT_FALSE(IsWindowEnabled(owner.Handle()));
}

TEST_F(FrameworkTest, WithoutAParentTheMainWindowOwnsTheDialog) {
    ModalWatchdog watchdog;
    OwnerWindow main;
    CWindow::SetMainWindow(main.Handle());
    ScriptedDialog dialog(IDD_TEST_PLAIN);
    HWND ownerOfDialog = NULL;
    BOOL mainEnabledDuring = TRUE;
    dialog.onInit = [&](ScriptedDialog& d) {
        ownerOfDialog = GetWindow(d.Handle(), GW_OWNER);
        mainEnabledDuring = IsWindowEnabled(main.Handle());
        d.EndDialog(1);
    };
    EXPECT_EQ(dialog.DoModal(), 1);
    CWindow::SetMainWindow(NULL);
    EXPECT_EQ(ownerOfDialog, main.Handle());
    EXPECT_FALSE(mainEnabledDuring);
    EXPECT_TRUE(IsWindowEnabled(main.Handle()));
}

TEST_F(FrameworkTest, ADialogEndedDuringItsInitialisationIsNeverShown) {
    ModalWatchdog watchdog;
    ScriptedDialog dialog(IDD_TEST_PLAIN);
    dialog.onInit = [](ScriptedDialog& d) { d.EndDialog(0); };
    EXPECT_EQ(dialog.DoModal(), 0);
    EXPECT_FALSE(dialog.shown);
}

TEST_F(FrameworkTest, PreTranslateMessageSeesMessagesBeforeTheyAreDispatched) {
    ModalWatchdog watchdog;
    ScriptedDialog dialog(IDD_TEST_PLAIN);
    std::vector<std::pair<HWND, UINT>> preTranslated;
    dialog.onInit = [](ScriptedDialog& d) {
        d.Post(WM_APP + 1);                              // swallowed by PreTranslateMessage
        PostMessageA(d.Item(IDC_TEST_EDIT), WM_APP + 2, 0, 0);  // for a control
        d.Post(WM_APP);                                  // ends
    };
    dialog.preTranslate = [&](ScriptedDialog&, MSG& m) {
        if (m.message >= WM_APP && m.message < 0xC000) preTranslated.emplace_back(m.hwnd, m.message);
        return m.message == WM_APP + 1;
    };
    HWND window = NULL, edit = NULL;
    dialog.onApp = [&](ScriptedDialog& d, WPARAM) {
        window = d.Handle();
        edit = d.Item(IDC_TEST_EDIT);
        d.EndDialog(1);
    };
    EXPECT_EQ(dialog.DoModal(), 1);
    std::vector<std::pair<HWND, UINT>> expected = {
        {window, WM_APP + 1}, {edit, WM_APP + 2}, {window, WM_APP}};
    EXPECT_EQ(preTranslated, expected);
    EXPECT_EQ(dialog.appMessagesHandled, std::vector<UINT>{WM_APP});
}

TEST_F(FrameworkTest, PreTranslateMessageComesBeforeTheDialogManager) {
    // Escape in an edit cancels the dialog through the dialog manager, unless the
    // dialog's own filter swallows it first.
    for (bool swallow : {false, true}) {
        ModalWatchdog watchdog;
        ScriptedDialog dialog(IDD_TEST_PLAIN);
        dialog.onInit = [](ScriptedDialog& d) {
            PostMessageA(d.Item(IDC_TEST_EDIT), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
            d.Post(WM_APP);
        };
        dialog.preTranslate = [&](ScriptedDialog&, MSG& m) {
            return swallow && m.message == WM_KEYDOWN && m.wParam == VK_ESCAPE;
        };
        dialog.onApp = [](ScriptedDialog& d, WPARAM) { d.EndDialog(5); };
        EXPECT_EQ(dialog.DoModal(), swallow ? 5 : IDCANCEL) << "swallow " << swallow;
    }
}

TEST_F(FrameworkTest, ADialogOpensAnotherModallyAndGetsItsResult) {
    ModalWatchdog watchdog;
    ScriptedDialog outer(IDD_TEST_PLAIN);
    int innerResult = 0;
    BOOL outerEnabledDuringInner = TRUE;
    BOOL outerEnabledAfterInner = FALSE;
    HWND innerOwner = NULL;
    outer.onInit = [](ScriptedDialog& d) { d.Post(WM_APP); };
    outer.onApp = [&](ScriptedDialog& d, WPARAM) {
        ScriptedDialog inner(IDD_TEST_NO_TIPS, d.Handle());
        inner.onInit = [&](ScriptedDialog& i) {
            innerOwner = GetWindow(i.Handle(), GW_OWNER);
            i.Post(WM_APP);
        };
        inner.onApp = [&](ScriptedDialog& i, WPARAM) {
            outerEnabledDuringInner = IsWindowEnabled(d.Handle());
            i.EndDialog(7);
        };
        innerResult = inner.DoModal();
        outerEnabledAfterInner = IsWindowEnabled(d.Handle());
        d.EndDialog(innerResult + 1);
    };
    EXPECT_EQ(outer.DoModal(), 8);
    EXPECT_EQ(innerResult, 7);
    EXPECT_FALSE(outerEnabledDuringInner);
    EXPECT_TRUE(outerEnabledAfterInner);
}

TEST_F(FrameworkTest, EndingTheOuterDialogFromInsideTheInnerEndsBothInTurn) {
    ModalWatchdog watchdog;
    ScriptedDialog outer(IDD_TEST_PLAIN);
    outer.onInit = [](ScriptedDialog& d) { d.Post(WM_APP); };
    int innerResult = 0;
    outer.onApp = [&](ScriptedDialog& d, WPARAM) {
        ScriptedDialog inner(IDD_TEST_NO_TIPS, d.Handle());
        inner.onInit = [&](ScriptedDialog& i) { i.Post(WM_APP); };
        inner.onApp = [&](ScriptedDialog& i, WPARAM) {
            d.EndDialog(11);
            i.EndDialog(10);
        };
        innerResult = inner.DoModal();
    };
    EXPECT_EQ(outer.DoModal(), 11);
    EXPECT_EQ(innerResult, 10);
}

TEST_F(FrameworkTest, WmQuitEndsEveryLoopAndStaysInTheQueue) {
    ModalWatchdog watchdog;
    ScriptedDialog outer(IDD_TEST_PLAIN);
    int innerResult = 0;
    outer.onInit = [](ScriptedDialog& d) { d.Post(WM_APP); };
    outer.onApp = [&](ScriptedDialog& d, WPARAM) {
        ScriptedDialog inner(IDD_TEST_NO_TIPS, d.Handle());
        inner.onInit = [](ScriptedDialog&) { PostQuitMessage(42); };
        innerResult = inner.DoModal();
    };
    EXPECT_EQ(outer.DoModal(), -1);
    EXPECT_EQ(innerResult, -1);
    MSG quit;
    ASSERT_TRUE(PeekMessageA(&quit, NULL, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 42u);
}

struct BoxSearch {
    const char* caption;
    HWND found;
};

BOOL CALLBACK FindBox(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<BoxSearch*>(parameter);
    char text[64] = "", className[16] = "";
    GetWindowTextA(window, text, sizeof text);
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpA(className, "#32770") == 0 && lstrcmpA(text, search->caption) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// Closes the first message box with this caption that the thread shows; gives up after
// five seconds or when told.
void CloseMessageBoxOf(DWORD thread, const char* caption, std::atomic<bool>& closed) {
    for (int attempt = 0; attempt < 500 && !closed; ++attempt) {
        BoxSearch search{caption, NULL};
        EnumThreadWindows(thread, FindBox, reinterpret_cast<LPARAM>(&search));
        if (search.found != NULL && IsWindowVisible(search.found)) {
            PostMessageA(search.found, WM_COMMAND, IDOK, 0);
            closed = true;
        }
        Sleep(10);
    }
}

TEST_F(FrameworkTest, AMessageBoxFromAHandlerWorksAndTheDialogCarriesOn) {
    ModalWatchdog watchdog;
    std::atomic<bool> closed{false};
    std::thread closer(CloseMessageBoxOf, GetCurrentThreadId(), "Framework box", std::ref(closed));
    ScriptedDialog dialog(IDD_TEST_PLAIN);
    dialog.onInit = [](ScriptedDialog& d) { d.Post(WM_APP); };
    BOOL dialogEnabledDuringBox = TRUE;
    dialog.onApp = [&](ScriptedDialog& d, WPARAM step) {
        if (step == 0) {
            int answer = MessageBoxA(d.Handle(), "From a handler", "Framework box", MB_OK);
            d.Post(WM_APP, 1, answer);
        } else {
            dialogEnabledDuringBox = IsWindowEnabled(d.Handle());
            d.EndDialog(100);
        }
    };
    EXPECT_EQ(dialog.DoModal(), 100);
    closed = true;
    closer.join();
    EXPECT_TRUE(dialogEnabledDuringBox);  // the box gave its owner back
}

TEST_F(FrameworkTest, ADialogDestroyedUnderItsLoopEndsIt) {
    ModalWatchdog watchdog;
    OwnerWindow owner;
    ScriptedDialog dialog(IDD_TEST_PLAIN, owner.Handle());
    dialog.onInit = [](ScriptedDialog& d) { d.Post(WM_APP); };
    dialog.onApp = [](ScriptedDialog& d, WPARAM) { DestroyWindow(d.Handle()); };
    EXPECT_EQ(dialog.DoModal(), -1);
    EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
}

TEST_F(FrameworkTest, ItemHelpersReadAndWriteControls) {
    ModalWatchdog watchdog;
    ScriptedDialog dialog(IDD_TEST_PLAIN);
    std::string text, empty;
    bool checked = false, enabled = true, visible = true;
    dialog.onInit = [&](ScriptedDialog& d) {
        SetItemText(d.Handle(), IDC_TEST_EDIT, std::string(300, 'x') + "end");
        text = ItemText(d.Handle(), IDC_TEST_EDIT);
        empty = ItemText(d.Handle(), 4711);
        d.CheckItem(IDC_TEST_CHECK, true);
        checked = d.IsItemChecked(IDC_TEST_CHECK);
        d.EnableItem(IDC_TEST_BUTTON, false);
        enabled = IsWindowEnabled(d.Item(IDC_TEST_BUTTON)) != 0;
        d.ShowItem(IDC_TEST_BUTTON, false);
        visible = (GetWindowLongA(d.Item(IDC_TEST_BUTTON), GWL_STYLE) & WS_VISIBLE) != 0;
        d.EndDialog(0);
    };
    EXPECT_EQ(dialog.DoModal(), 0);
    EXPECT_EQ(text, std::string(300, 'x') + "end");
    EXPECT_EQ(empty, "");
    EXPECT_TRUE(checked);
    EXPECT_FALSE(enabled);
    EXPECT_FALSE(visible);
}

TEST_F(FrameworkTest, EachClassReportsItsName) {
    CDialog plain(IDD_TEST_PLAIN);
    CMyDialog mine(IDD_TEST_PLAIN);
    CWindow& asWindow = mine;
    EXPECT_STREQ(plain.ClassName(), "CDialog");
    EXPECT_STREQ(asWindow.ClassName(), "CMyDialog");
}

}  // namespace
