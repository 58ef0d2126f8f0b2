#pragma once
// Reading a message box from outside: its text and icon are Static children of the
// "#32770" window. Shared by the Win32 tests that watch boxes appear.
#include <windows.h>

#include <string>

struct MessageBoxContent {
    std::string text;
    HICON icon = NULL;
};

inline BOOL CALLBACK ReadMessageBoxChild(HWND child, LPARAM result) {
    MessageBoxContent& content = *reinterpret_cast<MessageBoxContent*>(result);
    char name[32] = "";
    GetClassNameA(child, name, sizeof name);
    if (lstrcmpiA(name, "Static") != 0) return TRUE;
    if (GetWindowLongA(child, GWL_STYLE) & SS_ICON) {
        content.icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
    } else {
        char text[1100] = "";
        GetWindowTextA(child, text, sizeof text);
        if (text[0] != '\0') content.text = text;
    }
    return TRUE;
}

inline MessageBoxContent ReadMessageBoxContent(HWND box) {
    MessageBoxContent content;
    EnumChildWindows(box, ReadMessageBoxChild, reinterpret_cast<LPARAM>(&content));
    return content;
}

// Polls `done` every 20 ms for at most `ms`.
template <typename Condition>
bool WaitUntil(Condition done, DWORD ms) {
    for (DWORD start = GetTickCount(); !done();) {
        if (GetTickCount() - start > ms) return false;
        Sleep(20);
    }
    return true;
}
