#pragma once
#include <windows.h>

// The fade of one window while it is moved: a press on the caption fades the window to
// half transparency, the first cursor message after the move fades it back. One per
// CMyDialog and per CMyPropertySheet; the fades themselves are process-wide
// (fade_state_win32.h).
class WindowFader {
public:
    // Makes the window layered and opaque and sets the fade parameters, when the WindowFx
    // setting is on and the platform has per-window alpha.
    void SetupFade(HWND window, int low, int high, int delayMs);

    // Sees every message of the window before the window handles it; takes none.
    void Filter(HWND window, UINT message, WPARAM wParam);

    // Switching the effect for a window that exists: Enable sets it up unless the
    // window is already layered; Disable makes it opaque at once, keeping every other
    // extended style (dropped files, task-bar button).
    void EnableFx(HWND window, int low, int high, int delayMs);
    void DisableFx(HWND window);

    // false once it is known that the platform lacks per-window alpha.
    bool available() const { return available_; }
    // A non-client press has been seen and no cursor message since.
    bool armed() const { return armed_; }

private:
    bool available_ = true;
    bool armed_ = false;
};

// The parameters every window of the program fades with.
const int kFadeLowAlpha = 128;
const int kFadeHighAlpha = 255;
const int kFadeStepDelayMs = 10;
