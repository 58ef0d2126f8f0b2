#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "ui/modal_loop_win32.h"
#include "ui/property_page_win32.h"
#include "ui/subclass_window_win32.h"

// A property sheet over comctl32, run modally by our own loop so that its pages'
// PreTranslateMessage works: the sheet is created modeless, the loop gives messages to
// PropSheet_IsDialogMessage and ends when the sheet has no current page any more (OK or
// Cancel was pressed). The frame window is subclassed, so a derived sheet sees its
// messages in WindowProc. Main program only.
class CPropertySheet : public CSubclassWindow, protected ModalWindow {
public:
    CPropertySheet(const char* caption, HWND parent = NULL, unsigned firstPage = 0);
    ~CPropertySheet() override;

    const char* ClassName() const override { return "CPropertySheet"; }

    // Pages are shown in the order added; they must outlive the modal run.
    void AddPage(CPropertyPage& page);

    // Comctl32's defaults: an Apply button, no Help button. Without help the caption's
    // "?" button goes too.
    void SetApplyButton(bool shown);
    void SetHelpButton(bool shown);

    // IDOK when a page took its values (PSN_APPLY), else IDCANCEL; -1 when the sheet
    // could not be created.
    int DoModal();

protected:
    // Called once comctl32 has initialised the sheet and created its first page.
    virtual bool OnInitDialog();

    bool ContinueModal() override;
    bool DialogManagerMessage(MSG& message) override;

private:
    bool AnyPageApplied() const;
    static int CALLBACK SheetCallback(HWND window, UINT message, LPARAM lParam);

    std::string caption_;
    HWND parent_;
    unsigned firstPage_;
    std::vector<CPropertyPage*> pages_;
    DWORD flags_ = 0;
};
