#include "stub/stub_progress_dialog_win32.h"

StubProgressDialog::StubProgressDialog(HWND parent) : CMyDialog(IDD_STUB_PROGRESS, parent) {
    toolTipsOn_ = false;
}

bool StubProgressDialog::OnInitDialog() {
    CMyDialog::OnInitDialog();
    kStubProgressControls.SetUp(*this);
    return true;
}
