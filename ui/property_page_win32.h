#pragma once
#include <windows.h>

#include <prsht.h>

#include "ui/dialog_win32.h"

// A page of a property sheet: a dialog from a template whose caption names the tab. The
// sheet creates its window; the page's handlers work as a dialog's. OK on the sheet
// reaches every page as OnApply. The page knows nothing of its sheet: the sheet asks it
// for its comctl32 record and, after the run, whether it took its values.
class CPropertyPage : public CDialog {
public:
    explicit CPropertyPage(int templateId);

    const char* ClassName() const override { return "CPropertyPage"; }

    // The page's Help button (off unless switched on).
    void SetHelpButton(bool shown);

    // The record for one run of a sheet; NULL on failure. Starts the run not applied.
    HPROPSHEETPAGE CreatePage();
    // Whether the page took its values (OnApply) since CreatePage.
    bool Applied() const { return applied_; }

protected:
    // The sheet's OK (or Apply): take over the page's values. false keeps the sheet open
    // on this page.
    virtual bool OnApply();

    bool OnNotify(NMHDR& header, LRESULT& result) override;
    // The sheet's buttons end the sheet; a page never ends itself.
    void OnOK() override {}
    void OnCancel() override {}

private:
    static INT_PTR CALLBACK StaticPageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    DWORD flags_ = PSP_DEFAULT;
    bool applied_ = false;
};
