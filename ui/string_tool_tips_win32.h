#pragma once
#include <windows.h>

#include "ui/tool_tip_win32.h"

// Tooltips without code in the dialogs: a control's tip is the string-table entry with
// the control's ID. Used by CMyDialog and CMyPropertyPage.

// Wraps tips at 300 pixels, shows them at once and for 30 seconds, and adds one tool per
// child of `window` (in window order) whose control ID has a string-table entry.
void SetupToolTips(const CToolTip& tips, HWND window);

// Relays a mouse message (WM_MOUSEMOVE .. WM_MBUTTONDBLCLK) to the tooltip control as if
// it came from the child of `window` that contains the window it is for, so that a
// control inside another (an edit inside a combo box) shows its container's tip.
void RelayToolTipMouse(const CToolTip& tips, HWND window, const MSG& message);
