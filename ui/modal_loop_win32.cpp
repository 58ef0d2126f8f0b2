#include "ui/modal_loop_win32.h"

#include "ui/window_win32.h"

bool PreTranslateForWindows(MSG& message) {
    for (HWND window = message.hwnd; window != NULL; window = GetParent(window)) {
        CWindow* object = CWindow::FromHandle(window);
        if (object != nullptr && object->PreTranslateMessage(message)) return true;
        // GetParent of a top-level window is its owner, another window's business.
        if (!(GetWindowLongA(window, GWL_STYLE) & WS_CHILD)) break;
    }
    return false;
}

bool RunModalLoop(ModalWindow& window) {
    while (window.ContinueModal()) {
        MSG message;
        BOOL got = GetMessageA(&message, NULL, 0, 0);
        if (got == -1) return false;
        if (got == 0) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        if (PreTranslateForWindows(message) || window.DialogManagerMessage(message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return true;
}

HWND ModalOwner(HWND parent) {
    return TopLevelWindow(parent != NULL ? parent : CWindow::MainWindow());
}

OwnerDisabled::OwnerDisabled(HWND owner) : owner_(NULL) {
    if (owner != NULL && IsWindowEnabled(owner)) {
        owner_ = owner;
        EnableWindow(owner_, FALSE);
    }
}

void OwnerDisabled::Restore() {
    if (owner_ != NULL) EnableWindow(owner_, TRUE);
    owner_ = NULL;
}

void CloseModalWindow(HWND window, HWND owner) {
    if (window == NULL) return;
    if (owner != NULL && GetActiveWindow() == window) SetActiveWindow(owner);
    DestroyWindow(window);
}
