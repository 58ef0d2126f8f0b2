#pragma once
#include <windows.h>

// The thin layer under every window of the program: CWindow holds one HWND and offers
// one-line calls on it. Windows that the framework drives (dialogs, property pages,
// subclassed controls, the property sheet's frame) carry their object as a window
// property, so the message pump can find the object of any window it sees.
class CWindow {
public:
    CWindow() = default;
    virtual ~CWindow();
    CWindow(const CWindow&) = delete;
    CWindow& operator=(const CWindow&) = delete;

    HWND Handle() const { return hwnd_; }

    // The object the framework keeps for a window, or none.
    static CWindow* FromHandle(HWND window);

    // Sees every message for this window and its child windows before it is dispatched;
    // true means handled (not dispatched).
    virtual bool PreTranslateMessage(MSG& message);

    // The class name, for code that must tell windows apart at run time.
    virtual const char* ClassName() const { return "CWindow"; }

    bool Enable(bool enable) const { return EnableWindow(hwnd_, enable) != 0; }
    bool IsEnabled() const { return IsWindowEnabled(hwnd_) != 0; }
    bool Show(int command) const { return ShowWindow(hwnd_, command) != 0; }
    bool IsVisible() const { return IsWindowVisible(hwnd_) != 0; }
    bool SetText(const char* text) const { return SetWindowTextA(hwnd_, text) != 0; }
    int GetText(char* buffer, int size) const { return GetWindowTextA(hwnd_, buffer, size); }
    LONG ExStyle() const { return GetWindowLongA(hwnd_, GWL_EXSTYLE); }
    void SetExStyle(LONG exStyle) const { SetWindowLongA(hwnd_, GWL_EXSTYLE, exStyle); }
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return SendMessageA(hwnd_, message, wParam, lParam);
    }
    bool Post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return PostMessageA(hwnd_, message, wParam, lParam) != 0;
    }

    // Child controls by ID.
    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
    bool SetItemText(int id, const char* text) const { return SetDlgItemTextA(hwnd_, id, text) != 0; }
    UINT GetItemText(int id, char* buffer, int size) const {
        return GetDlgItemTextA(hwnd_, id, buffer, size);
    }
    bool SetItemInt(int id, int value) const { return SetDlgItemInt(hwnd_, id, value, TRUE) != 0; }
    void CheckItem(int id, bool checked) const {
        CheckDlgButton(hwnd_, id, checked ? BST_CHECKED : BST_UNCHECKED);
    }
    bool IsItemChecked(int id) const { return IsDlgButtonChecked(hwnd_, id) == BST_CHECKED; }
    void EnableItem(int id, bool enable) const { EnableWindow(Item(id), enable); }
    void ShowItem(int id, bool show) const { ShowWindow(Item(id), show ? SW_SHOW : SW_HIDE); }
    LRESULT SendItem(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return SendDlgItemMessageA(hwnd_, id, message, wParam, lParam);
    }

    // The window modal dialogs and sheets without a parent of their own are owned by.
    static void SetMainWindow(HWND window);
    static HWND MainWindow();

protected:
    // Binds the object to a window (and the window to the object); false when the window
    // already belongs to an object.
    bool Attach(HWND window);
    void Detach();

    HWND hwnd_ = NULL;
};

// The module whose resources (dialog templates, strings) the framework loads.
HINSTANCE ResourceModule();

// The top-level window that contains a window (the window itself when it is top-level).
HWND TopLevelWindow(HWND window);
