#include "ui/window_win32.h"

namespace {

// A property and not GWL_USERDATA: that slot belongs to whoever created the window, and
// the sheet's frame and the controls we subclass are created by others.
const char kObjectProperty[] = "Vorlix.CWindow";

HWND g_mainWindow = NULL;

}  // namespace

CWindow::~CWindow() {
    Detach();
}

CWindow* CWindow::FromHandle(HWND window) {
    if (window == NULL) return nullptr;
    return static_cast<CWindow*>(GetPropA(window, kObjectProperty));
}

bool CWindow::PreTranslateMessage(MSG&) {
    return false;
}

bool CWindow::Attach(HWND window) {
    if (window == NULL || FromHandle(window) != nullptr) return false;
    if (!SetPropA(window, kObjectProperty, this)) return false;
    hwnd_ = window;
    return true;
}

void CWindow::Detach() {
    if (hwnd_ != NULL && FromHandle(hwnd_) == this) RemovePropA(hwnd_, kObjectProperty);
    hwnd_ = NULL;
}

void CWindow::SetMainWindow(HWND window) {
    g_mainWindow = window;
}

HWND CWindow::MainWindow() {
    return IsWindow(g_mainWindow) ? g_mainWindow : NULL;
}

HINSTANCE ResourceModule() {
    return GetModuleHandleA(NULL);
}

HWND TopLevelWindow(HWND window) {
    while (window != NULL && (GetWindowLongA(window, GWL_STYLE) & WS_CHILD)) {
        window = GetParent(window);
    }
    return window;
}
