#pragma once
#include <windows.h>

#include "ui/property_sheet_win32.h"
#include "ui/window_fader_win32.h"

// The base of the program's property sheets: the sheet fades while it is moved.
class CMyPropertySheet : public CPropertySheet {
public:
    CMyPropertySheet(const char* caption, HWND parent = NULL, unsigned firstPage = 0);

    const char* ClassName() const override { return "CMyPropertySheet"; }

protected:
    // The fader sees every message of the frame first; then the frame's own procedure.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The framework's initialisation, then the fade set-up.
    bool OnInitDialog() override;

    WindowFader fader_;
};
