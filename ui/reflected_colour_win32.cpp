#include "ui/reflected_colour_win32.h"

#include "ui/window_win32.h"

bool ReflectControlColour(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& brush) {
    if (message < WM_CTLCOLORMSGBOX || message > WM_CTLCOLORSTATIC) return false;
    HWND control = reinterpret_cast<HWND>(lParam);
    if (CWindow::FromHandle(control) == nullptr) return false;
    // A control that leaves the request to its own default procedure answers 0.
    LRESULT answer = SendMessageA(control, kReflectedMessageBase + message, wParam, lParam);
    if (answer == 0) return false;
    brush = static_cast<INT_PTR>(answer);
    return true;
}
