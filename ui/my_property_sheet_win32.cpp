#include "ui/my_property_sheet_win32.h"

CMyPropertySheet::CMyPropertySheet(const char* caption, HWND parent, unsigned firstPage)
    : CPropertySheet(caption, parent, firstPage) {}

LRESULT CMyPropertySheet::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    fader_.Filter(hwnd_, message, wParam);
    return CPropertySheet::WindowProc(message, wParam, lParam);
}

bool CMyPropertySheet::OnInitDialog() {
    bool result = CPropertySheet::OnInitDialog();
    fader_.SetupFade(hwnd_, kFadeLowAlpha, kFadeHighAlpha, kFadeStepDelayMs);
    return result;
}
