#pragma once
#include <windows.h>

#include "ui/window_win32.h"

// What the program's progress dialog and the restorer stub's share: a bar from 0 to 100
// in steps of 1, a status line and a count line, which the window that receives the
// worker's notices fills in. Each program's template gives them its own IDs.
struct ProgressControls {
    int bar;
    int status;
    int count;

    // The bar's range and step, once the dialog is open.
    void SetUp(const CWindow& dialog) const;
    // The two lines and the bar; nothing while the dialog is not open.
    void Show(const CWindow& dialog, const char* statusText, const char* countText,
              int percent) const;
};
