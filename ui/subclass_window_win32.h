#pragma once
#include <windows.h>

#include "ui/window_win32.h"

// Takes over the window procedure of an existing window (a control from a dialog
// template, the property sheet's frame): every message reaches the virtual WindowProc,
// whose default passes it on to the procedure the window had before. The previous
// procedure is put back when the window is destroyed or the object lets go of it.
class CSubclassWindow : public CWindow {
public:
    CSubclassWindow() = default;
    ~CSubclassWindow() override;

    const char* ClassName() const override { return "CSubclassWindow"; }

    // false when the window is missing or already driven by an object of ours.
    bool Subclass(HWND window);
    void Unsubclass();

protected:
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT CallPrevious(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    WNDPROC previous_ = nullptr;
};
