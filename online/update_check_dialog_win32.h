#pragma once
#include <windows.h>

#include "online/fetch_dialog_win32.h"

// "Checking Updates": whether the maker offers a version other than this one, with a
// link to its download page, and the maker's version history.
class UpdateCheckDialog : public FetchDialog {
public:
    explicit UpdateCheckDialog(HWND parent = NULL);

    const char* ClassName() const override { return "UpdateCheckDialog"; }
};

// The Help menu's "Check For Updates" command (32771): the dialog, run modally over `parent`.
void ShowUpdateCheckDialog(HWND parent);
