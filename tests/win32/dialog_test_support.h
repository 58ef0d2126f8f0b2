#pragma once
// Helpers of the dialog-framework tests: scripted dialogs, an owner window, a watchdog
// that ends a modal loop gone astray, and a recorder for the per-window alpha calls.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <mutex>
#include <utility>
#include <vector>

#include "app/settings.h"
#include "tests/win32/test_dialogs.h"
#include "ui/fade_state_win32.h"
#include "ui/my_dialog_win32.h"

// A CMyDialog whose behaviour the test writes: hooks run at the end of the
// initialisation, for WM_APP (wParam says which step), and before the base's
// PreTranslateMessage.
class ScriptedDialog : public CMyDialog {
public:
    using CMyDialog::CMyDialog;

    std::function<void(ScriptedDialog&)> onInit;
    std::function<void(ScriptedDialog&, WPARAM)> onApp;
    std::function<bool(ScriptedDialog&, MSG&)> preTranslate;
    std::vector<UINT> appMessagesHandled;  // WM_APP and above, as the window procedure got them
    bool shown = false;

    int ToolCount() const { return toolTip_.ToolCount(); }
    HWND ToolTipWindow() const { return toolTip_.Handle(); }
    const WindowFader& Fader() const { return fader_; }

    bool PreTranslateMessage(MSG& message) override {
        if (preTranslate && preTranslate(*this, message)) return true;
        return CMyDialog::PreTranslateMessage(message);
    }

protected:
    bool OnInitDialog() override {
        bool result = CMyDialog::OnInitDialog();
        if (onInit) onInit(*this);
        return result;
    }

    INT_PTR WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_SHOWWINDOW && wParam) shown = true;
        if (message >= WM_APP && message < 0xC000) {
            appMessagesHandled.push_back(message);
            if (message == WM_APP && onApp) onApp(*this, wParam);
            return TRUE;
        }
        return CMyDialog::WindowProc(message, wParam, lParam);
    }
};

// A visible top-level window to own the dialogs under test.
class OwnerWindow {
public:
    OwnerWindow() {
        hwnd_ = CreateWindowExA(0, "STATIC", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300,
                                200, NULL, NULL, GetModuleHandleA(NULL), NULL);
    }
    ~OwnerWindow() {
        if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
    }
    OwnerWindow(const OwnerWindow&) = delete;
    OwnerWindow& operator=(const OwnerWindow&) = delete;
    HWND Handle() const { return hwnd_; }

private:
    HWND hwnd_;
};

// Ends every modal loop of this thread with WM_QUIT if the test has not ended its dialogs
// in time, so that a fault fails the test instead of hanging it. Removes a WM_QUIT left
// behind when it goes.
class ModalWatchdog {
public:
    explicit ModalWatchdog(UINT milliseconds = 10000) {
        fired_ = false;
        timer_ = SetTimer(NULL, 0, milliseconds, &Fire);
    }
    ~ModalWatchdog() {
        KillTimer(NULL, timer_);
        MSG message;
        while (PeekMessageA(&message, NULL, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        EXPECT_FALSE(fired_) << "a modal loop had to be ended by the watchdog";
    }
    ModalWatchdog(const ModalWatchdog&) = delete;
    ModalWatchdog& operator=(const ModalWatchdog&) = delete;

private:
    static void CALLBACK Fire(HWND, UINT, UINT_PTR, DWORD) {
        fired_ = true;
        PostQuitMessage(99);
    }
    static inline bool fired_ = false;
    UINT_PTR timer_;
};

// Records every per-window alpha call (and passes it on to the system's), and whether a
// call ever reached a window that no longer existed.
class AlphaRecorder {
public:
    AlphaRecorder() {
        Clear();
        UseLayeredAlphaFunction(&Record);
    }
    ~AlphaRecorder() { UseSystemLayeredAlphaFunction(); }
    AlphaRecorder(const AlphaRecorder&) = delete;
    AlphaRecorder& operator=(const AlphaRecorder&) = delete;

    static void Clear() {
        std::lock_guard<std::mutex> lock(Mutex());
        Calls().clear();
        DeadWindowCalls() = 0;
    }
    static std::vector<int> AlphasFor(HWND window) {
        std::lock_guard<std::mutex> lock(Mutex());
        std::vector<int> alphas;
        for (const auto& call : Calls())
            if (call.first == window) alphas.push_back(call.second);
        return alphas;
    }
    static size_t CallCount() {
        std::lock_guard<std::mutex> lock(Mutex());
        return Calls().size();
    }
    static int CallsOnDeadWindows() {
        std::lock_guard<std::mutex> lock(Mutex());
        return DeadWindowCalls();
    }

private:
    static BOOL WINAPI Record(HWND window, COLORREF key, BYTE alpha, DWORD flags) {
        {
            std::lock_guard<std::mutex> lock(Mutex());
            Calls().emplace_back(window, alpha);
            if (!IsWindow(window)) ++DeadWindowCalls();
        }
        LayeredAlphaFunction system = FindLayeredAlphaFunction();
        return system != nullptr ? system(window, key, alpha, flags) : TRUE;
    }
    static std::mutex& Mutex() {
        static std::mutex mutex;
        return mutex;
    }
    static std::vector<std::pair<HWND, int>>& Calls() {
        static std::vector<std::pair<HWND, int>> calls;
        return calls;
    }
    static int& DeadWindowCalls() {
        static int count = 0;
        return count;
    }
};

// Sets WindowFx for one test.
class WindowFxSetting {
public:
    explicit WindowFxSetting(uint32_t on) : saved_(TheSettings().WindowFx) { TheSettings().WindowFx = on; }
    ~WindowFxSetting() { TheSettings().WindowFx = saved_; }
    WindowFxSetting(const WindowFxSetting&) = delete;
    WindowFxSetting& operator=(const WindowFxSetting&) = delete;

private:
    uint32_t saved_;
};

// Waits until no fade thread runs any more; false when they did not end in time.
inline bool WaitForFadesToEnd(DWORD milliseconds = 3000) {
    DWORD start = GetTickCount();
    for (;;) {
        FadeState state = ReadFadeState();
        if (state.fadeOutRunning == 0 && state.fadeInRunning == 0) return true;
        if (GetTickCount() - start > milliseconds) return false;
        Sleep(1);
    }
}

inline bool IsLayered(HWND window) {
    return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
}

// Every test of the framework needs the common controls (tooltips, property sheets).
class DialogTest : public testing::Test {
protected:
    void SetUp() override { InitCommonControls(); }
    void TearDown() override { EXPECT_TRUE(WaitForFadesToEnd()); }
};
