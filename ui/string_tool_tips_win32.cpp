#include "ui/string_tool_tips_win32.h"

#include <commctrl.h>

#include "ui/window_win32.h"

namespace {

const int kTipWidth = 300;
const int kAutoPopMs = 30000;

}  // namespace

void SetupToolTips(const CToolTip& tips, HWND window) {
    tips.SetMaxTipWidth(kTipWidth);
    tips.SetDelayTime(TTDT_INITIAL, 0);
    tips.SetDelayTime(TTDT_AUTOPOP, kAutoPopMs);
    tips.SetDelayTime(TTDT_RESHOW, 0);
    for (HWND child = GetWindow(window, GW_CHILD); child != NULL; child = GetWindow(child, GW_HWNDNEXT)) {
        // A string ID is 16 bits; a larger control ID would make LoadString look up
        // some other entry.
        int id = GetDlgCtrlID(child);
        if (id < 0 || id > 0xFFFF) continue;
        char text[1024];
        if (LoadStringA(ResourceModule(), static_cast<UINT>(id), text, sizeof text) > 0) {
            tips.AddTool(window, child, text);
        }
    }
}

void RelayToolTipMouse(const CToolTip& tips, HWND window, const MSG& message) {
    if (message.message < WM_MOUSEMOVE || message.message > WM_MBUTTONDBLCLK) return;
    MSG copy = message;
    // Up to the direct child of `window`; the parent of a top-level window would be
    // its owner, so the walk stays among child windows.
    while (copy.hwnd != window && (GetWindowLongA(copy.hwnd, GWL_STYLE) & WS_CHILD)) {
        HWND parent = GetParent(copy.hwnd);
        if (parent == NULL || parent == window) break;
        copy.hwnd = parent;
    }
    if (copy.hwnd != NULL) tips.RelayEvent(copy);
}
