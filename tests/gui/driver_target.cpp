// A small window for the driver's own tests: what it is told shows in its edit 100, so
// a test can see that a press, an answer or a drop arrived as the program sees it.
//   button 101: asks a Yes/No question; the edit then reads "yes" or "no"
//   a drop: the edit reads "<number of files>|<first file>"
//   closing it: exit status 7
#include <windows.h>
#include <shellapi.h>
#include <stdio.h>

namespace {

constexpr int kEdit = 100;
constexpr int kAsk = 101;

void OnDrop(HWND window, HDROP drop) {
    char first[MAX_PATH] = "";
    UINT count = DragQueryFileA(drop, 0xFFFFFFFF, NULL, 0);
    if (count > 0) DragQueryFileA(drop, 0, first, sizeof first);
    DragFinish(drop);
    char text[MAX_PATH + 16];
    snprintf(text, sizeof text, "%u|%s", count, first);
    SetDlgItemTextA(window, kEdit, text);
}

LRESULT CALLBACK TargetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        CreateWindowA("EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 300, 22, window,
                      reinterpret_cast<HMENU>(kEdit), NULL, NULL);
        CreateWindowA("BUTTON", "Ask", WS_CHILD | WS_VISIBLE, 10, 40, 80, 24, window,
                      reinterpret_cast<HMENU>(kAsk), NULL, NULL);
        DragAcceptFiles(window, TRUE);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == kAsk) {
            int answer = MessageBoxA(window, "Replace it?\nReally?", "Target",
                                     MB_YESNO | MB_ICONQUESTION);
            SetDlgItemTextA(window, kEdit, answer == IDYES ? "yes" : "no");
        }
        return 0;
    case WM_DROPFILES:
        OnDrop(window, reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_DESTROY:
        PostQuitMessage(7);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    WNDCLASSA kind = {};
    kind.lpfnWndProc = TargetProc;
    kind.hInstance = instance;
    kind.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    kind.lpszClassName = "DriverTarget";
    RegisterClassA(&kind);
    HWND window = CreateWindowA("DriverTarget", "Driver target", WS_OVERLAPPEDWINDOW, 50, 50,
                                340, 120, NULL, NULL, instance, NULL);
    ShowWindow(window, show);
    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
