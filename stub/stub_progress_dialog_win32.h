#pragma once
#include <windows.h>

#include "resources/stub_ids.h"
#include "ui/progress_controls_win32.h"
#include "ui/progress_window_dialog_win32.h"

inline constexpr ProgressControls kStubProgressControls = {
    IDC_STUB_PROGRESS_BAR, IDC_STUB_PROGRESS_STATUS, IDC_STUB_PROGRESS_COUNT};

// The restorer stub's progress window (template 129): the shared progress controls
// (ui/progress_controls_win32.h) and Cancel, which ends it with IDCANCEL. Unlike the
// program's it has no tooltips (the stub's string numbers would otherwise give Cancel,
// ID 2, a message text as its tip), keeps its title, and ignores Enter. RestoreDialog's
// JobProgressWindow fills it in and ends it.
class StubProgressDialog : public ProgressWindowDialog {
public:
    explicit StubProgressDialog(HWND parent);

    const char* ClassName() const override { return "StubProgressDialog"; }

    void ShowProgress(const char* status, const char* count, int percent) override {
        kStubProgressControls.Show(*this, status, count, percent);
    }

protected:
    // A log-off or shut-down goes to the restore dialog, which runs the write.
    INT_PTR WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnInitDialog() override;
    // Enter must not end the window as if the job had failed while it still writes.
    void OnOK() override {}
};
