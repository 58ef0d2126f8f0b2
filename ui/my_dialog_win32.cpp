#include "ui/my_dialog_win32.h"

#include "ui/string_tool_tips_win32.h"

CMyDialog::CMyDialog(int templateId, HWND parent) : CDialog(templateId, parent) {}

CMyDialog::~CMyDialog() {
    toolTip_.Destroy();
}

bool CMyDialog::PreTranslateMessage(MSG& message) {
    if (toolTip_.Handle() != NULL) {
        toolTip_.Activate(toolTipsOn_);
        RelayToolTipMouse(toolTip_, hwnd_, message);
    }
    return CDialog::PreTranslateMessage(message);
}

void CMyDialog::EnableWindowFx() {
    fader_.EnableFx(hwnd_, kFadeLowAlpha, kFadeHighAlpha, kFadeStepDelayMs);
}

void CMyDialog::DisableWindowFx() {
    fader_.DisableFx(hwnd_);
}

INT_PTR CMyDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    fader_.Filter(hwnd_, message, wParam);
    if (message == WM_DESTROY) toolTip_.Destroy();
    return CDialog::WindowProc(message, wParam, lParam);
}

bool CMyDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    fader_.SetupFade(hwnd_, kFadeLowAlpha, kFadeHighAlpha, kFadeStepDelayMs);
    if (toolTipsOn_ && toolTip_.Create(hwnd_)) {
        toolTip_.Activate(true);
        SetupToolTips(toolTip_, hwnd_);
    }
    return true;
}
