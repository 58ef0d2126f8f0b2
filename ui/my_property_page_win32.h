#pragma once
#include <windows.h>

#include "ui/property_page_win32.h"
#include "ui/tool_tip_win32.h"

// The base of the program's property pages: string-table tooltips for their controls.
// A page has no fader of its own: it is a child of the sheet, which fades as a whole.
class CMyPropertyPage : public CPropertyPage {
public:
    explicit CMyPropertyPage(int templateId);
    ~CMyPropertyPage() override;

    const char* ClassName() const override { return "CMyPropertyPage"; }

    // Relays mouse messages to the tooltips, then answers as the framework does.
    bool PreTranslateMessage(MSG& message) override;

protected:
    INT_PTR WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The tooltips; true.
    bool OnInitDialog() override;

    bool toolTipsOn_ = true;
    CToolTip toolTip_;
};
