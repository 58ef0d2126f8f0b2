#include "ui/my_property_page_win32.h"

#include "ui/string_tool_tips_win32.h"

CMyPropertyPage::CMyPropertyPage(int templateId) : CPropertyPage(templateId) {}

CMyPropertyPage::~CMyPropertyPage() {
    toolTip_.Destroy();
}

bool CMyPropertyPage::PreTranslateMessage(MSG& message) {
    if (toolTip_.Handle() != NULL) {
        toolTip_.Activate(toolTipsOn_);
        RelayToolTipMouse(toolTip_, hwnd_, message);
    }
    return CPropertyPage::PreTranslateMessage(message);
}

INT_PTR CMyPropertyPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) toolTip_.Destroy();
    return CPropertyPage::WindowProc(message, wParam, lParam);
}

bool CMyPropertyPage::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    if (toolTip_.Create(hwnd_)) {
        toolTip_.Activate(true);
        SetupToolTips(toolTip_, hwnd_);
    }
    return true;
}
