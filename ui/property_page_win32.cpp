#include "ui/property_page_win32.h"

#include <commctrl.h>

CPropertyPage::CPropertyPage(int templateId) : CDialog(templateId) {}

void CPropertyPage::SetHelpButton(bool shown) {
    flags_ = shown ? (flags_ | PSP_HASHELP) : (flags_ & ~PSP_HASHELP);
}

bool CPropertyPage::OnApply() {
    return true;
}

bool CPropertyPage::OnNotify(NMHDR& header, LRESULT& result) {
    if (header.code != static_cast<UINT>(PSN_APPLY)) return false;
    if (!OnApply()) {
        result = PSNRET_INVALID_NOCHANGEPAGE;
        return true;
    }
    applied_ = true;
    result = PSNRET_NOERROR;
    return true;
}

HPROPSHEETPAGE CPropertyPage::CreatePage() {
    applied_ = false;
    // The first version of the record: every comctl32 knows it.
    PROPSHEETPAGEA page = {};
    page.dwSize = PROPSHEETPAGEA_V1_SIZE;
    page.dwFlags = flags_;
    page.hInstance = ResourceModule();
    page.pszTemplate = MAKEINTRESOURCEA(TemplateId());
    page.pfnDlgProc = StaticPageProc;
    page.lParam = reinterpret_cast<LPARAM>(this);
    return CreatePropertySheetPageA(&page);
}

INT_PTR CALLBACK CPropertyPage::StaticPageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CDialog* page;
    if (message == WM_INITDIALOG) {
        // A page gets its description (the sheet's copy of it), not our pointer.
        auto* self = reinterpret_cast<CPropertyPage*>(reinterpret_cast<PROPSHEETPAGEA*>(lParam)->lParam);
        if (!self->Attach(window)) return FALSE;
        page = self;
    } else {
        page = static_cast<CDialog*>(FromHandle(window));
    }
    return RouteMessage(page, message, wParam, lParam);
}
