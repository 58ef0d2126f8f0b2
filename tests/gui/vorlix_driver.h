#pragma once
// Drives a real GUI program from another process, as a user would: starts it, waits
// for its windows, reads and sets control texts, presses buttons, answers message boxes,
// drops files and photographs the screen. Every wait is bounded; a started program is
// ended by its process handle when its owner goes.
#include <windows.h>

#include <string>
#include <vector>

#include "platform/handles_win32.h"

namespace gui {

constexpr DWORD kDefaultWaitMs = 20000;

// "/work/x/y.exe" -> "Z:\\work\\x\\y.exe"; Windows paths are returned as they are.
std::string WindowsPath(const std::string& path);

// One started program. Its exit status is known once Wait has seen it end.
class DrivenProcess {
public:
    DrivenProcess() = default;
    ~DrivenProcess();
    DrivenProcess(const DrivenProcess&) = delete;
    DrivenProcess& operator=(const DrivenProcess&) = delete;

    // Starts `program` with the words of `arguments` (each quoted), in `folder` as its
    // current folder ("": ours). Returns 0 or -1.
    int Start(const std::string& program, const std::vector<std::string>& arguments,
              const std::string& folder = std::string());
    // Waits for the end; true when it ended in time.
    bool Wait(DWORD ms = kDefaultWaitMs);
    // The exit status of an ended program (-1 arrives as 0xFFFFFFFF).
    DWORD ExitCode() const;
    bool Running() const;
    DWORD Id() const { return id_; }
    HANDLE Handle() const { return process_.Get(); }
    // Ends the program if it still runs; used on every path out of a test.
    void Terminate();

private:
    UniqueHandle process_;
    DWORD id_ = 0;
};

// A visible top-level window of process `pid` with the class (nullptr: any) and the
// caption (nullptr: any; a trailing '*' matches any rest) asked for, or NULL.
HWND FindTopWindow(DWORD pid, const char* className, const char* caption);
HWND WaitForTopWindow(DWORD pid, const char* className, const char* caption,
                      DWORD ms = kDefaultWaitMs);
// A visible dialog of `pid` that holds a control with `controlId`.
HWND WaitForDialogWith(DWORD pid, int controlId, DWORD ms = kDefaultWaitMs);
// Waits until `window` is gone (destroyed or hidden).
bool WaitUntilGone(HWND window, DWORD ms = kDefaultWaitMs);

std::string WindowText(HWND window);
std::string ControlText(HWND dialog, int controlId);
bool ControlEnabled(HWND dialog, int controlId);
bool ControlVisible(HWND dialog, int controlId);
// Sets an edit's text as typing would leave it (WM_SETTEXT, then EN_CHANGE reaches the
// parent through the control itself).
bool SetControlText(HWND dialog, int controlId, const std::string& text);
// Presses a button: posted, so a modal loop that the press starts cannot block us.
bool PressButton(HWND dialog, int controlId);
// Posts a key press (down and up) to a window.
void PressKey(HWND window, WPARAM virtualKey);

// A message box: a dialog of the standard class with only static texts and buttons.
struct ShownMessage {
    HWND window = NULL;
    std::string caption;
    std::string text;     // the whole message, line breaks included
    std::vector<int> buttons;
};
// Waits for a message box of `pid`; window is NULL on timeout.
ShownMessage WaitForMessageBox(DWORD pid, DWORD ms = kDefaultWaitMs);
// Ends a message box with the button `id` (IDOK, IDYES, IDNO).
bool Answer(const ShownMessage& box, int id);

// Drops `files` onto `window` of another process, as the shell's WM_DROPFILES does: the
// DROPFILES block is built inside the target process, since a handle of ours means
// nothing there. Returns 0 or -1.
int DropFiles(HWND window, const std::vector<std::string>& files);

// Saves the whole screen as a 24-bit BMP file. Returns 0 or -1.
int SaveScreenshot(const std::string& path);
// Saves what the screen shows of `window`, frame included, the same way.
int SaveWindowScreenshot(HWND window, const std::string& path);

}  // namespace gui
