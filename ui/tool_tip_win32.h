#pragma once
#include <windows.h>

// A tooltip control owned by one window. The control is a popup of its own that the
// system destroys together with its owner; Destroy (from the owner's WM_DESTROY and from
// the destructor) forgets it either way.
class CToolTip {
public:
    CToolTip() = default;
    ~CToolTip() { Destroy(); }
    CToolTip(const CToolTip&) = delete;
    CToolTip& operator=(const CToolTip&) = delete;

    bool Create(HWND owner);
    void Destroy();
    HWND Handle() const { return hwnd_; }

    void Activate(bool active) const { Send(TTM_ACTIVATE_, active ? TRUE : FALSE, 0); }
    void SetMaxTipWidth(int pixels) const { Send(TTM_SETMAXTIPWIDTH_, 0, pixels); }
    void SetDelayTime(DWORD which, int milliseconds) const {
        Send(TTM_SETDELAYTIME_, which, MAKELONG(milliseconds, 0));
    }
    // A tool covering the whole of `tool`, a child of `owner`; the control keeps its own
    // copy of the text.
    bool AddTool(HWND owner, HWND tool, const char* text) const;
    void RelayEvent(const MSG& message) const;
    int ToolCount() const { return static_cast<int>(Send(TTM_GETTOOLCOUNT_, 0, 0)); }

private:
    // The message numbers, so that this header needs no <commctrl.h>.
    enum : UINT {
        TTM_ACTIVATE_ = WM_USER + 1,
        TTM_SETDELAYTIME_ = WM_USER + 3,
        TTM_GETTOOLCOUNT_ = WM_USER + 13,
        TTM_SETMAXTIPWIDTH_ = WM_USER + 24,
    };
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) const {
        return hwnd_ != NULL ? SendMessageA(hwnd_, message, wParam, lParam) : 0;
    }

    HWND hwnd_ = NULL;
};
