#include "ui/tool_tip_win32.h"

#include <commctrl.h>

#include "ui/window_win32.h"

static_assert(TTM_ACTIVATE == WM_USER + 1 && TTM_SETDELAYTIME == WM_USER + 3 &&
                  TTM_GETTOOLCOUNT == WM_USER + 13 && TTM_SETMAXTIPWIDTH == WM_USER + 24,
              "tooltip message numbers");

bool CToolTip::Create(HWND owner) {
    Destroy();
    hwnd_ = CreateWindowExA(0, TOOLTIPS_CLASSA, NULL, WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, owner, NULL, ResourceModule(), NULL);
    return hwnd_ != NULL;
}

void CToolTip::Destroy() {
    // Already gone with its owner when the owner is being destroyed.
    if (hwnd_ != NULL && IsWindow(hwnd_)) DestroyWindow(hwnd_);
    hwnd_ = NULL;
}

bool CToolTip::AddTool(HWND owner, HWND tool, const char* text) const {
    // The first version of the record: every comctl32 knows it.
    TOOLINFOA info = {};
    info.cbSize = TTTOOLINFOA_V1_SIZE;
    info.uFlags = TTF_IDISHWND;
    info.hwnd = owner;
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = const_cast<char*>(text);
    return Send(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)) != 0;
}

void CToolTip::RelayEvent(const MSG& message) const {
    MSG copy = message;
    Send(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&copy));
}
