#pragma once
#include <windows.h>

#include "online/fetch_dialog_win32.h"

// "Communicator": the short message the maker publishes, with its link when it has one.
class MessageDialog : public FetchDialog {
public:
    explicit MessageDialog(HWND parent = NULL);

    const char* ClassName() const override { return "MessageDialog"; }
};

// The Help menu's "Communicator" command (32773): the dialog, run modally over `parent`.
void ShowMessageDialog(HWND parent);
