#include "stub/progress_dialog_win32.h"

#include <commctrl.h>

#include "resources/stub_ids.h"

ProgressDialog::ProgressDialog(HWND parent) : CMyDialog(IDD_STUB_PROGRESS, parent) {
    toolTipsOn_ = false;
}

bool ProgressDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    fader_.SetupFade(hwnd_, kFadeLowAlpha, kFadeHighAlpha, kFadeStepDelayMs);
    SendItem(IDC_STUB_PROGRESS_BAR, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    SendItem(IDC_STUB_PROGRESS_BAR, PBM_SETSTEP, 1);
    return true;
}

void ProgressDialog::ShowProgress(const char* status, const char* count, int percent) {
    if (hwnd_ == NULL) return;
    SetItemText(IDC_STUB_PROGRESS_STATUS, status);
    SetItemText(IDC_STUB_PROGRESS_COUNT, count);
    SendItem(IDC_STUB_PROGRESS_BAR, PBM_SETPOS, percent);
}
