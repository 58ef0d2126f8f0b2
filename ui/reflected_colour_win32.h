#pragma once
#include <windows.h>

// Controls ask their parent for their colours (WM_CTLCOLORSTATIC and its kin). A control
// that one of our objects drives answers for itself: the parent passes the request on as
// kReflectedMessageBase plus the message number, and returns the control's brush. A
// dialog that holds such controls calls ReflectControlColour first in its WindowProc.

constexpr UINT kReflectedMessageBase = 0x2000;

// true when the message was a colour request for a control of ours that answered it;
// `brush` is then the dialog procedure's answer.
bool ReflectControlColour(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& brush);
