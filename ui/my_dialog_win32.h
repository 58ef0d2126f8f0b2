#pragma once
#include <windows.h>

#include "ui/dialog_win32.h"
#include "ui/tool_tip_win32.h"
#include "ui/window_fader_win32.h"

// The base of every dialog of the program: string-table tooltips for its controls and
// the fade while it is moved. Used as it is for dialogs without code of their own.
// Kept free of the standard library's containers and strings: the restorer stub uses it.
class CMyDialog : public CDialog {
public:
    explicit CMyDialog(int templateId, HWND parent = NULL);
    ~CMyDialog() override;

    const char* ClassName() const override { return "CMyDialog"; }

    // Relays mouse messages to the tooltips, then answers as the framework does.
    bool PreTranslateMessage(MSG& message) override;

    // Switch the fade on or off for the open dialog (after the settings changed).
    void EnableWindowFx();
    void DisableWindowFx();

protected:
    // The fader sees every message first; then the framework's processing.
    INT_PTR WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Fade set-up, then the tooltips; true.
    bool OnInitDialog() override;

    // Off before the dialog opens: it gets no tooltips at all.
    bool toolTipsOn_ = true;
    WindowFader fader_;
    CToolTip toolTip_;
};
