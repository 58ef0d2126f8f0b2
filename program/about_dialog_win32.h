#pragma once
#include <windows.h>

#include "ui/hyper_link_win32.h"
#include "ui/my_dialog_win32.h"

// "About Vorlix": the program name with its version, the build date, and links to the
// maker's mail address and web site. The links show the bare addresses, stay blue
// whatever their state, and their tooltips show what they open.
class AboutDialog : public CMyDialog {
public:
    explicit AboutDialog(HWND parent = NULL);

    const char* ClassName() const override { return "AboutDialog"; }

    const CHyperLink& WebLink() const { return webLink_; }
    const CHyperLink& MailLink() const { return mailLink_; }

protected:
    bool OnInitDialog() override;
    // The links choose their own colours.
    INT_PTR WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    CHyperLink webLink_;
    CHyperLink mailLink_;
};

// The Help menu's About command (57664): the dialog, run modally over `parent`.
void ShowAboutDialog(HWND parent);
