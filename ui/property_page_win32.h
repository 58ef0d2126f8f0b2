#pragma once
#include <windows.h>

#include <prsht.h>

#include "ui/dialog_win32.h"

class CPropertySheet;

// A page of a property sheet: a dialog from a template whose caption names the tab. The
// sheet creates its window; the page's handlers work as a dialog's. OK on the sheet
// reaches every page as OnApply.
class CPropertyPage : public CDialog {
public:
    explicit CPropertyPage(int templateId);

    const char* ClassName() const override { return "CPropertyPage"; }

    // The page's Help button (off unless switched on).
    void SetHelpButton(bool shown);

protected:
    // The sheet's OK (or Apply): take over the page's values. false keeps the sheet open
    // on this page.
    virtual bool OnApply();

    bool OnNotify(NMHDR& header, LRESULT& result) override;
    // The sheet's buttons end the sheet; a page never ends itself.
    void OnOK() override {}
    void OnCancel() override {}

private:
    friend class CPropertySheet;
    HPROPSHEETPAGE CreatePage();
    static INT_PTR CALLBACK StaticPageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    CPropertySheet* sheet_ = nullptr;
    DWORD flags_ = PSP_DEFAULT;
};
