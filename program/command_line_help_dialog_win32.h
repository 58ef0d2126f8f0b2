#pragma once
#include <windows.h>

#include "resources/main_dialog_ids.h"
#include "ui/my_dialog_win32.h"

// The command-line syntax: all of it is in the dialog template, one line per switch
// (/w, /r, /d, /b, /f, /s, /e, /c, /v, /t, /i, /l, /x, /m, /k), then how the extension
// picks the kind.
class CommandLineHelpDialog : public CMyDialog {
public:
    explicit CommandLineHelpDialog(HWND parent = NULL) : CMyDialog(IDD_COMMAND_LINE_HELP, parent) {}

    const char* ClassName() const override { return "CommandLineHelpDialog"; }
};
