#include "ui/subclass_window_win32.h"

CSubclassWindow::~CSubclassWindow() {
    Unsubclass();
}

bool CSubclassWindow::Subclass(HWND window) {
    if (hwnd_ != NULL || !Attach(window)) return false;
    previous_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&StaticWindowProc)));
    if (previous_ == nullptr) {
        Detach();
        return false;
    }
    return true;
}

void CSubclassWindow::Unsubclass() {
    if (hwnd_ == NULL) return;
    // Only our own procedure can be taken out again; should someone have subclassed the
    // window after us, ours stays in the chain and, finding no object, passes messages to
    // the default procedure.
    if (GetWindowLongPtrA(hwnd_, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&StaticWindowProc)) {
        SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
    }
    Detach();
    previous_ = nullptr;
}

LRESULT CSubclassWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return CallPrevious(message, wParam, lParam);
}

LRESULT CSubclassWindow::CallPrevious(UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcA(previous_, hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK CSubclassWindow::StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* object = static_cast<CSubclassWindow*>(FromHandle(window));
    if (object == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    LRESULT answer = object->WindowProc(message, wParam, lParam);
    if (message == WM_NCDESTROY) object->Unsubclass();
    return answer;
}
