#include "tests/gui/vorlix_driver.h"

#include <string.h>

#include <algorithm>

#include "tests/support/message_box_content_win32.h"

namespace gui {
namespace {


std::string ClassOf(HWND window) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

bool CaptionMatches(const std::string& text, const char* wanted) {
    if (wanted == nullptr) return true;
    size_t length = strlen(wanted);
    if (length > 0 && wanted[length - 1] == '*') return text.compare(0, length - 1, wanted, length - 1) == 0;
    return text == wanted;
}

struct WindowSearch {
    DWORD pid;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindowOf(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->pid && IsWindowVisible(window)) search->found.push_back(window);
    return TRUE;
}

std::vector<HWND> TopWindowsOf(DWORD pid) {
    WindowSearch search{pid, {}};
    EnumWindows(CollectWindowOf, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> ChildrenOf(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    return children;
}

// A message box holds statics and buttons only, and at least one button with a
// standard answer id.
bool LooksLikeMessageBox(HWND window) {
    if (ClassOf(window) != "#32770") return false;
    bool answer = false;
    for (HWND child : ChildrenOf(window)) {
        std::string kind = ClassOf(child);
        int id = GetDlgCtrlID(child);
        if (kind == "Button") {
            if (id == IDOK || id == IDCANCEL || id == IDYES || id == IDNO) answer = true;
        } else if (kind != "Static") {
            return false;
        }
    }
    return answer;
}

}  // namespace

std::string WindowsPath(const std::string& path) {
    if (path.empty() || path[0] != '/') return path;
    std::string windows = "Z:" + path;
    std::replace(windows.begin(), windows.end(), '/', '\\');
    return windows;
}

DrivenProcess::~DrivenProcess() { Terminate(); }

int DrivenProcess::Start(const std::string& program, const std::vector<std::string>& arguments,
                         const std::string& folder) {
    Terminate();
    std::string line = "\"" + WindowsPath(program) + "\"";
    for (const std::string& word : arguments) line += " \"" + word + "\"";
    std::vector<char> buffer(line.begin(), line.end());
    buffer.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    if (!CreateProcessA(NULL, buffer.data(), NULL, NULL, FALSE, 0, NULL,
                        folder.empty() ? NULL : folder.c_str(), &startup, &started)) {
        return -1;
    }
    process_.Reset(started.hProcess);
    CloseHandle(started.hThread);
    id_ = started.dwProcessId;
    WaitForInputIdle(process_.Get(), 5000);
    return 0;
}

bool DrivenProcess::Wait(DWORD ms) {
    return process_ && WaitForSingleObject(process_.Get(), ms) == WAIT_OBJECT_0;
}

DWORD DrivenProcess::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (process_) GetExitCodeProcess(process_.Get(), &code);
    return code;
}

bool DrivenProcess::Running() const {
    return process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT;
}

void DrivenProcess::Terminate() {
    if (Running()) {
        TerminateProcess(process_.Get(), 99);
        WaitForSingleObject(process_.Get(), 10000);
    }
}

HWND FindTopWindow(DWORD pid, const char* className, const char* caption) {
    for (HWND window : TopWindowsOf(pid)) {
        if (className != nullptr && ClassOf(window) != className) continue;
        if (CaptionMatches(WindowText(window), caption)) return window;
    }
    return NULL;
}

HWND WaitForTopWindow(DWORD pid, const char* className, const char* caption, DWORD ms) {
    HWND found = NULL;
    WaitUntil([&] { return (found = FindTopWindow(pid, className, caption)) != NULL; }, ms);
    return found;
}

HWND WaitForDialogWith(DWORD pid, int controlId, DWORD ms) {
    HWND found = NULL;
    WaitUntil(
        [&] {
            for (HWND window : TopWindowsOf(pid)) {
                if (ClassOf(window) == "#32770" && GetDlgItem(window, controlId)) {
                    found = window;
                    return true;
                }
            }
            return false;
        },
        ms);
    return found;
}

bool WaitUntilGone(HWND window, DWORD ms) {
    return WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); }, ms);
}

std::string WindowText(HWND window) {
    // WM_GETTEXT is answered by the other process; bounded, so a hung target cannot hang us.
    char text[1024] = "";
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                             SMTO_ABORTIFHUNG, 5000, &length)) {
        return std::string();
    }
    return std::string(text, std::min<size_t>(length, sizeof text - 1));
}

std::string ControlText(HWND dialog, int controlId) {
    HWND control = GetDlgItem(dialog, controlId);
    return control ? WindowText(control) : std::string();
}

bool ControlEnabled(HWND dialog, int controlId) {
    HWND control = GetDlgItem(dialog, controlId);
    return control && IsWindowEnabled(control);
}

bool ControlVisible(HWND dialog, int controlId) {
    HWND control = GetDlgItem(dialog, controlId);
    return control && IsWindowVisible(control);
}

bool SetControlText(HWND dialog, int controlId, const std::string& text) {
    HWND control = GetDlgItem(dialog, controlId);
    DWORD_PTR result = 0;
    return control && SendMessageTimeoutA(control, WM_SETTEXT, 0,
                                          reinterpret_cast<LPARAM>(text.c_str()),
                                          SMTO_ABORTIFHUNG, 5000, &result) && result;
}

bool PressButton(HWND dialog, int controlId) {
    HWND control = GetDlgItem(dialog, controlId);
    return control && PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(controlId, BN_CLICKED),
                                   reinterpret_cast<LPARAM>(control));
}

void PressKey(HWND window, WPARAM virtualKey) {
    UINT scan = MapVirtualKeyA(static_cast<UINT>(virtualKey), 0);
    PostMessageA(window, WM_KEYDOWN, virtualKey, 1 | (scan << 16));
    PostMessageA(window, WM_KEYUP, virtualKey, 1 | (scan << 16) | 0xC0000000u);
}

ShownMessage WaitForMessageBox(DWORD pid, DWORD ms) {
    ShownMessage box;
    WaitUntil(
        [&] {
            for (HWND window : TopWindowsOf(pid)) {
                if (LooksLikeMessageBox(window)) {
                    box.window = window;
                    return true;
                }
            }
            return false;
        },
        ms);
    if (box.window == NULL) return box;
    box.caption = WindowText(box.window);
    for (HWND child : ChildrenOf(box.window)) {
        std::string text = WindowText(child);
        if (ClassOf(child) == "Button") {
            box.buttons.push_back(GetDlgCtrlID(child));
        } else if (text.size() > box.text.size()) {
            box.text = text;
        }
    }
    return box;
}

bool Answer(const ShownMessage& box, int id) {
    return box.window && PostMessageA(box.window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0) &&
           WaitUntilGone(box.window, 10000);
}

}  // namespace gui
