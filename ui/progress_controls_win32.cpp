#include "ui/progress_controls_win32.h"

#include <commctrl.h>

void ProgressControls::SetUp(const CWindow& dialog) const {
    dialog.SendItem(bar, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    dialog.SendItem(bar, PBM_SETSTEP, 1);
}

void ProgressControls::Show(const CWindow& dialog, const char* statusText,
                            const char* countText, int percent) const {
    if (dialog.Handle() == NULL) return;
    dialog.SetItemText(status, statusText);
    dialog.SetItemText(count, countText);
    dialog.SendItem(bar, PBM_SETPOS, percent);
}
