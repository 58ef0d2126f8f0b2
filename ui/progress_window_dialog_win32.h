#pragma once
#include <windows.h>

#include "ui/my_dialog_win32.h"

// A modal window that shows one job's progress for JobProgressWindow, which fills it in
// and ends it: 0 finished, 1 failed. Its Cancel ends it with 2 (IDCANCEL).
class ProgressWindowDialog : public CMyDialog {
public:
    using CMyDialog::CMyDialog;

    // The status and count lines and the bar.
    virtual void ShowProgress(const char* status, const char* count, int percent) = 0;
};
