#pragma once
#include <windows.h>

#include "ui/progress_window_dialog_win32.h"

// The program's progress dialog, shown modally while a job's worker runs: the shared
// progress controls (ui/progress_controls_win32.h) and Cancel. Unlike the restorer
// stub's it has tooltips and shows the percentage in its title as well. It handles no
// messages of its own: the main dialog, which receives the worker's notices, has it
// filled in and ended (0 finished, 1 failed); Cancel and Escape end it with 2. Enter does
// nothing: the job goes on, and only its own end or a cancel may end the dialog.
class ProgressDialog : public ProgressWindowDialog {
public:
    // `disk`: the number of a batch's disk, which the caption then names; 0 for none.
    explicit ProgressDialog(HWND parent, unsigned disk = 0);

    const char* ClassName() const override { return "ProgressDialog"; }

    // The status and count lines, the bar, and the percentage in the title.
    void ShowProgress(const char* status, const char* count, int percent) override;

    // Takes Enter away from the dialog manager, which would press Cancel when it has the
    // focus, or else end the dialog with IDOK.
    bool PreTranslateMessage(MSG& message) override;

protected:
    // A log-off or shut-down goes to the main dialog, which runs the job.
    INT_PTR WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnInitDialog() override;
    // IDOK, from the dialog manager or a WM_COMMAND, is no end of the job.
    void OnOK() override {}

private:
    // "Disk N - Progress" or "Progress", and the percentage when there is one.
    void ShowCaption(int percent);

    unsigned disk_;
};
