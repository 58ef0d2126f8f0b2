#pragma once
#include <windows.h>

#include "ui/my_dialog_win32.h"

// The restorer stub's progress window (template 129): a bar from 0 to 100, a status
// line, a count line and Cancel, which ends it with IDCANCEL. It fades while moved but
// has no tooltips: the stub's string numbers would otherwise give Cancel (ID 2) a
// message text as its tip. RestoreDialog fills it in and ends it.
class ProgressDialog : public CMyDialog {
public:
    explicit ProgressDialog(HWND parent);

    const char* ClassName() const override { return "StubProgressDialog"; }

    void ShowProgress(const char* status, const char* count, int percent);

protected:
    bool OnInitDialog() override;
    // Enter must not end the window as if the job had failed while it still writes.
    void OnOK() override {}
};
