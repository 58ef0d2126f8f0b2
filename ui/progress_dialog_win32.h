#pragma once
#include <windows.h>

#include "ui/my_dialog_win32.h"

// The modal dialog shown while a job's worker runs: a bar, a status line, a count line
// and Cancel. It handles no messages of its own: the main dialog, which receives the
// worker's notices, fills it in and ends it (0 finished, 1 failed); Cancel and Escape end
// it with 2.
class ProgressDialog : public CMyDialog {
public:
    explicit ProgressDialog(HWND parent);

    const char* ClassName() const override { return "ProgressDialog"; }

    // The status and count lines, the bar, and the percentage in the title.
    void ShowProgress(const char* status, const char* count, int percent);

protected:
    bool OnInitDialog() override;
};
