#include "ui/progress_dialog_win32.h"

#include <commctrl.h>
#include <stdio.h>

#include "resources/main_dialog_ids.h"

ProgressDialog::ProgressDialog(HWND parent) : CMyDialog(IDD_PROGRESS, parent) {}

bool ProgressDialog::OnInitDialog() {
    CMyDialog::OnInitDialog();
    SendItem(IDC_PROGRESS_BAR, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    SendItem(IDC_PROGRESS_BAR, PBM_SETSTEP, 1);
    return true;
}

void ProgressDialog::ShowProgress(const char* status, const char* count, int percent) {
    if (hwnd_ == NULL) return;
    SetItemText(IDC_PROGRESS_STATUS, status);
    SetItemText(IDC_PROGRESS_COUNT, count);
    SendItem(IDC_PROGRESS_BAR, PBM_SETPOS, percent);
    char title[64];
    wsprintfA(title, "Progress [%d%%]", percent);
    SetText(title);
}
