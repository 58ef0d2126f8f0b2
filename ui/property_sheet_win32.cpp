#include "ui/property_sheet_win32.h"

#include <commctrl.h>

namespace {

// The sheet being created: comctl32's callback has no parameter of its own. Sheets are
// created on the user-interface thread only, one at a time.
CPropertySheet* g_creating = nullptr;

// Takes the context-help style off a dialog template (DLGTEMPLATE or DLGTEMPLATEEX).
void RemoveContextHelp(void* dialogTemplate) {
    auto* words = static_cast<WORD*>(dialogTemplate);
    if (words[1] == 0xFFFF) {  // DLGTEMPLATEEX: version, signature, help ID, exStyle, style
        auto* longs = reinterpret_cast<DWORD*>(words + 4);
        longs[0] &= ~static_cast<DWORD>(WS_EX_CONTEXTHELP);
        longs[1] &= ~static_cast<DWORD>(DS_CONTEXTHELP);
    } else {
        auto* plain = static_cast<DLGTEMPLATE*>(dialogTemplate);
        plain->style &= ~static_cast<DWORD>(DS_CONTEXTHELP);
        plain->dwExtendedStyle &= ~static_cast<DWORD>(WS_EX_CONTEXTHELP);
    }
}

}  // namespace

CPropertySheet::CPropertySheet(const char* caption, HWND parent, unsigned firstPage)
    : caption_(caption != nullptr ? caption : ""), parent_(parent), firstPage_(firstPage) {}

CPropertySheet::~CPropertySheet() {
    HWND window = hwnd_;
    Unsubclass();
    if (window != NULL) DestroyWindow(window);
}

void CPropertySheet::AddPage(CPropertyPage& page) {
    pages_.push_back(&page);
}

void CPropertySheet::SetApplyButton(bool shown) {
    flags_ = shown ? (flags_ & ~PSH_NOAPPLYNOW) : (flags_ | PSH_NOAPPLYNOW);
}

void CPropertySheet::SetHelpButton(bool shown) {
    flags_ = shown ? (flags_ | PSH_HASHELP) : (flags_ & ~PSH_HASHELP);
}

int CPropertySheet::DoModal() {
    if (hwnd_ != NULL || pages_.empty() || g_creating != nullptr) return -1;
    std::vector<HPROPSHEETPAGE> pages;
    for (CPropertyPage* page : pages_) {
        HPROPSHEETPAGE created = page->CreatePage();
        if (created == NULL) {
            for (HPROPSHEETPAGE made : pages) DestroyPropertySheetPage(made);
            return -1;
        }
        pages.push_back(created);
    }
    HWND owner = ModalOwner(parent_);
    OwnerDisabled ownerDisabled(owner);
    PROPSHEETHEADERA header = {};
    header.dwSize = PROPSHEETHEADERA_V1_SIZE;
    header.dwFlags = flags_ | PSH_MODELESS | PSH_USECALLBACK;
    header.hwndParent = owner;
    header.hInstance = ResourceModule();
    header.pszCaption = caption_.c_str();
    header.nPages = static_cast<UINT>(pages.size());
    header.nStartPage = firstPage_ < pages.size() ? firstPage_ : 0;
    header.phpage = pages.data();
    header.pfnCallback = SheetCallback;
    g_creating = this;
    INT_PTR created = PropertySheetA(&header);
    g_creating = nullptr;
    // The pages are the sheet's now: it destroys them with itself. What a failed call did
    // with them is unknown, so they are not touched again (a leak beats a double free).
    HWND window = created != -1 ? reinterpret_cast<HWND>(created) : NULL;
    if (window == NULL) return -1;
    // The callback came before the first page existed; now the sheet is complete.
    if (hwnd_ == NULL && !Subclass(window)) {
        DestroyWindow(window);
        return -1;
    }
    OnInitDialog();
    ShowWindow(window, SW_SHOW);
    RunModalLoop(*this);
    ownerDisabled.Restore();
    HWND sheet = hwnd_ != NULL ? hwnd_ : (IsWindow(window) ? window : NULL);
    CloseModalWindow(sheet, owner);
    return AnyPageApplied() ? IDOK : IDCANCEL;
}

bool CPropertySheet::AnyPageApplied() const {
    for (const CPropertyPage* page : pages_) {
        if (page->Applied()) return true;
    }
    return false;
}

bool CPropertySheet::OnInitDialog() {
    return true;
}

bool CPropertySheet::ContinueModal() {
    return hwnd_ != NULL && PropSheet_GetCurrentPageHwnd(hwnd_) != NULL;
}

bool CPropertySheet::DialogManagerMessage(MSG& message) {
    return PropSheet_IsDialogMessage(hwnd_, &message) != 0;
}

int CALLBACK CPropertySheet::SheetCallback(HWND window, UINT message, LPARAM lParam) {
    if (g_creating == nullptr) return 0;
    if (message == PSCB_PRECREATE && !(g_creating->flags_ & PSH_HASHELP) && lParam != 0) {
        RemoveContextHelp(reinterpret_cast<void*>(lParam));
    } else if (message == PSCB_INITIALIZED) {
        // As early as comctl32 lets us: the fader sees the frame's messages from here on.
        g_creating->Subclass(window);
    }
    return 0;
}
