#pragma once
#include <windows.h>

// Our own modal loop, shared by dialogs and property sheets. It runs on the window's
// thread and pumps every message of that thread: each one first passes the
// PreTranslateMessage of the framework's windows it concerns (from its own window up to
// its top-level window), then the dialog manager of the modal window, and is dispatched
// only when neither took it. Nesting works because the inner loop simply pumps the same
// queue until its own window is done.

class ModalWindow {
public:
    // Asked before every message: false ends the loop.
    virtual bool ContinueModal() = 0;
    // The dialog manager's keyboard handling (IsDialogMessage or its sheet equivalent).
    virtual bool DialogManagerMessage(MSG& message) = 0;

protected:
    ~ModalWindow() = default;
};

// Pumps until the window is done. Returns false when the loop ended because of WM_QUIT,
// which is posted again so that every enclosing loop ends too.
bool RunModalLoop(ModalWindow& window);

// Offers a message to the PreTranslateMessage of the framework's windows on its way up;
// true when one of them handled it.
bool PreTranslateForWindows(MSG& message);

// The owner of a modal window: the given parent, else the program's main window, in
// either case its top-level window.
HWND ModalOwner(HWND parent);

// Keeps the owner of a modal window disabled for as long as the modal window runs. An
// owner that was already disabled (by an enclosing modal window) is left to that one.
class OwnerDisabled {
public:
    explicit OwnerDisabled(HWND owner);
    ~OwnerDisabled() { Restore(); }
    OwnerDisabled(const OwnerDisabled&) = delete;
    OwnerDisabled& operator=(const OwnerDisabled&) = delete;

    // Called before the modal window is destroyed, so that Windows gives the activation
    // back to the owner rather than to some other program.
    void Restore();

private:
    HWND owner_;
};

// Hands the activation to the owner if the closing window has it, then destroys the
// window. The owner must already be enabled again.
void CloseModalWindow(HWND window, HWND owner);
