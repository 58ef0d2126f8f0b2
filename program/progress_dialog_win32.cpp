#include "program/progress_dialog_win32.h"

#include <stdio.h>

#include "platform/message_box_sink_win32.h"
#include "resources/main_dialog_ids.h"
#include "resources/string_ids.h"
#include "ui/progress_controls_win32.h"

namespace {

const ProgressControls kControls = {IDC_PROGRESS_BAR, IDC_PROGRESS_STATUS, IDC_PROGRESS_COUNT};

}  // namespace

ProgressDialog::ProgressDialog(HWND parent, unsigned disk)
    : ProgressWindowDialog(IDD_PROGRESS, parent), disk_(disk) {}

bool ProgressDialog::OnInitDialog() {
    CMyDialog::OnInitDialog();
    kControls.SetUp(*this);
    if (disk_ != 0) ShowCaption(-1);
    return true;
}

void ProgressDialog::ShowCaption(int percent) {
    char title[kMessageTextSize + 16] = "Progress";
    if (disk_ != 0) {
        UserMessage caption{IDS_BATCH_PROGRESS_CAPTION, MessageStyle::Information};
        caption.number = static_cast<long>(disk_);
        FormatUserMessage(NULL, caption, title, kMessageTextSize);
    }
    if (percent >= 0) wsprintfA(title + lstrlenA(title), " [%d%%]", percent);
    SetText(title);
}

INT_PTR ProgressDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ENDSESSION) {
        HWND owner = GetWindow(hwnd_, GW_OWNER);
        if (owner != NULL) SendMessageA(owner, message, wParam, lParam);
    }
    return CMyDialog::WindowProc(message, wParam, lParam);
}

bool ProgressDialog::PreTranslateMessage(MSG& message) {
    if ((message.message == WM_KEYDOWN || message.message == WM_KEYUP || message.message == WM_CHAR) &&
        message.wParam == VK_RETURN) {
        return true;
    }
    return CMyDialog::PreTranslateMessage(message);
}

void ProgressDialog::ShowProgress(const char* status, const char* count, int percent) {
    if (hwnd_ == NULL) return;
    kControls.Show(*this, status, count, percent);
    ShowCaption(percent);
}
