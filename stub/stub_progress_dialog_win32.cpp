#include "stub/stub_progress_dialog_win32.h"

StubProgressDialog::StubProgressDialog(HWND parent)
    : ProgressWindowDialog(IDD_STUB_PROGRESS, parent) {
    toolTipsOn_ = false;
}

INT_PTR StubProgressDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ENDSESSION) {
        HWND owner = GetWindow(hwnd_, GW_OWNER);
        if (owner != NULL) SendMessageA(owner, message, wParam, lParam);
    }
    return CMyDialog::WindowProc(message, wParam, lParam);
}

bool StubProgressDialog::OnInitDialog() {
    CMyDialog::OnInitDialog();
    kStubProgressControls.SetUp(*this);
    return true;
}
