#include "ui/window_fader_win32.h"

#include "app/settings.h"
#include "ui/fade_state_win32.h"

namespace {

// SC_MOVE with HTCAPTION in the low bits: the move that a press on the caption starts.
const WPARAM kMoveByCaption = 0xF012;

bool IsLayered(HWND window) {
    return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
}

}  // namespace

void WindowFader::SetupFade(HWND window, int low, int high, int delayMs) {
    if (!TheSettings().WindowFx) return;
    if (!HasLayeredAlpha()) {
        available_ = false;
        return;
    }
    SetFadeParameters(low, high, delayMs);
    SetWindowLongA(window, GWL_EXSTYLE, GetWindowLongA(window, GWL_EXSTYLE) | WS_EX_LAYERED);
    // A layered window without an alpha is not drawn at all.
    ApplyWindowAlpha(window, high);
}

void WindowFader::Filter(HWND window, UINT message, WPARAM wParam) {
    if (message == WM_DESTROY) {
        ForgetFadeWindow(window);
        return;
    }
    if (!available_) return;
    switch (message) {
    case WM_NCLBUTTONDOWN:
        armed_ = true;
        break;
    case WM_SYSCOMMAND:
        if (armed_ && wParam == kMoveByCaption) StartFade(FadeDirection::Out, window);
        break;
    case WM_SETCURSOR:
        if (armed_) {
            armed_ = false;
            FadeState state = ReadFadeState();
            if (state.currentAlpha < state.maxAlpha) StartFade(FadeDirection::In, window);
        }
        break;
    default:
        break;
    }
}

void WindowFader::EnableFx(HWND window, int low, int high, int delayMs) {
    if (!IsLayered(window)) SetupFade(window, low, high, delayMs);
}

void WindowFader::DisableFx(HWND window) {
    if (!IsLayered(window)) return;
    SetWindowLongA(window, GWL_EXSTYLE, GetWindowLongA(window, GWL_EXSTYLE) & ~WS_EX_LAYERED);
    // Leaving the layered state does not repaint by itself.
    RedrawWindow(window, NULL, NULL, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
}
