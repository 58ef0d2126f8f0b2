#include "ui/hyper_link_win32.h"

#include <commctrl.h>

#include "platform/message_box_sink_win32.h"
#include "ui/item_text_win32.h"
#include "ui/reflected_colour_win32.h"

#ifndef IDC_HAND
#define IDC_HAND MAKEINTRESOURCE(32649)
#endif

namespace {

// The link's one tooltip tool.
const UINT_PTR kToolId = 1;
// The pointer resource of the system's help viewer that looks like a hand.
const WORD kHelpViewerHand = 106;

LinkColours g_colours;
HCURSOR g_handCursor = NULL;

// A registry key opened for reading, closed when it goes.
class ReadKey {
public:
    ReadKey(HKEY root, const char* path) {
        if (RegOpenKeyExA(root, path, 0, KEY_QUERY_VALUE, &key_) != ERROR_SUCCESS) key_ = NULL;
    }
    ~ReadKey() {
        if (key_ != NULL) RegCloseKey(key_);
    }
    ReadKey(const ReadKey&) = delete;
    ReadKey& operator=(const ReadKey&) = delete;
    HKEY Get() const { return key_; }

private:
    HKEY key_ = NULL;
};

// A text value of any length: asked for its size first, read into a buffer of that size,
// and asked again should it have grown in between.
bool QueryText(HKEY key, std::string& text) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        DWORD type = 0, size = 0;
        if (RegQueryValueExA(key, NULL, NULL, &type, NULL, &size) != ERROR_SUCCESS) return false;
        if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
        std::string data(static_cast<size_t>(size) + 1, '\0');
        DWORD read = size;
        LONG result = RegQueryValueExA(key, NULL, NULL, &type, reinterpret_cast<BYTE*>(&data[0]), &read);
        if (result == ERROR_MORE_DATA) continue;
        if (result != ERROR_SUCCESS) return false;
        text.assign(data.c_str());
        if (type == REG_EXPAND_SZ) {
            DWORD needed = ExpandEnvironmentStringsA(text.c_str(), NULL, 0);
            if (needed == 0) return false;
            std::string expanded(needed, '\0');
            if (ExpandEnvironmentStringsA(text.c_str(), &expanded[0], needed) == 0) return false;
            text.assign(expanded.c_str());
        }
        return true;
    }
    return false;
}

class SystemLinkShell : public LinkShell {
public:
    int OpenWithShell(const char* target, int showMode) override {
        HINSTANCE result = ShellExecuteA(NULL, "open", target, NULL, NULL, showMode);
        return static_cast<int>(reinterpret_cast<INT_PTR>(result));
    }
    bool ReadClassDefault(const char* keyPath, std::string& text) override {
        ReadKey key(HKEY_CLASSES_ROOT, keyPath);
        return key.Get() != NULL && QueryText(key.Get(), text);
    }
    int StartCommand(const char* commandLine, int showMode) override {
        // WinExec counts anything above 31 as success; the caller, like the shell, wants
        // more than 32.
        UINT result = WinExec(commandLine, static_cast<UINT>(showMode));
        if (result == 32) return 33;
        return static_cast<int>(result);
    }
};

TOOLINFOA ToolInfo(HWND link, const char* text) {
    TOOLINFOA info = {};
    info.cbSize = TTTOOLINFOA_V1_SIZE;
    info.hwnd = link;
    info.uId = kToolId;
    GetClientRect(link, &info.rect);
    info.lpszText = const_cast<char*>(text);
    return info;
}

}  // namespace

CHyperLink::~CHyperLink() {
    // The control outlives the link only when the link is dropped early; it must not be
    // left with a font that is about to be deleted.
    if (hwnd_ != NULL && IsWindow(hwnd_) && linkFont_) {
        Send(WM_SETFONT, reinterpret_cast<WPARAM>(controlFont_), FALSE);
    }
    toolTip_.Destroy();
    Unsubclass();
}

bool CHyperLink::SubclassDlgItem(int id, HWND dialog) {
    return SubclassControl(GetDlgItem(dialog, id));
}

bool CHyperLink::SubclassControl(HWND control) {
    if (!Subclass(control)) return false;
    PreSubclassWindow();
    return true;
}

void CHyperLink::PreSubclassWindow() {
    const std::string text = WindowText(hwnd_);
    if (url_.empty()) url_ = text;
    if (text.empty()) SetText(url_.c_str());

    controlFont_ = reinterpret_cast<HFONT>(Send(WM_GETFONT));
    if (controlFont_ != NULL) {
        LOGFONTA description;
        if (GetObjectA(controlFont_, sizeof description, &description) == sizeof description) {
            description.lfUnderline = (flags_ & kLinkUnderline) ? TRUE : FALSE;
            linkFont_.Reset(CreateFontIndirectA(&description));
        }
        if (linkFont_) Send(WM_SETFONT, reinterpret_cast<WPARAM>(linkFont_.Get()), TRUE);
        SizeToText();
    } else {
        flags_ &= ~static_cast<uint32_t>(kLinkSizeToText);
    }

    if (!(flags_ & kLinkSystemPointer)) LoadHandCursor();

    if (toolTip_.Create(hwnd_)) {
        TOOLINFOA info = ToolInfo(hwnd_, url_.c_str());
        SendMessageA(toolTip_.Handle(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
    }
}

void CHyperLink::SetURL(const char* url) {
    url_ = url != nullptr ? url : "";
    if (hwnd_ == NULL) return;
    // Hidden while it changes size, so the parent repaints the place it leaves; a link
    // that was hidden stays hidden.
    const bool visible = IsVisible();
    if (visible) Show(SW_HIDE);
    SizeToText();
    if (toolTip_.Handle() != NULL) {
        TOOLINFOA info = ToolInfo(hwnd_, url_.c_str());
        SendMessageA(toolTip_.Handle(), TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
        SendMessageA(toolTip_.Handle(), TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&info));
    }
    if (visible) Show(SW_SHOW);
}

void CHyperLink::SetColours(COLORREF link, COLORREF active, COLORREF visited, COLORREF hover) {
    g_colours = MakeLinkColours(link, active, visited, hover, GetSysColor(COLOR_HIGHLIGHT));
}

const LinkColours& CHyperLink::Colours() {
    return g_colours;
}

HCURSOR CHyperLink::HandCursor() {
    return g_handCursor;
}

void CHyperLink::FollowLink() {
    // A warning box must get the mouse, and the browser that opens should too.
    if (hwnd_ != NULL && GetCapture() == hwnd_) ReleaseCapture();
    const int result = OpenURL(url_.c_str(), SW_SHOWNORMAL);
    if (result <= 32) {
        MessageBeep(MB_ICONEXCLAMATION);
        ReportOpenFailure(result);
        return;
    }
    state_.visited = true;
    Repaint();
}

int CHyperLink::OpenURL(const char* target, int showMode) {
    SystemLinkShell shell;
    return OpenLinkTarget(shell, target != nullptr ? target : "", showMode);
}

void CHyperLink::ReportOpenFailure(int code) const {
    MessageBoxSink sink(hwnd_ != NULL ? TopLevelWindow(hwnd_) : NULL);
    sink.Show(OpenFailureMessage(code));
}

bool CHyperLink::PreTranslateMessage(MSG& message) {
    if (message.hwnd == hwnd_ && toolTip_.Handle() != NULL) toolTip_.RelayEvent(message);
    return CSubclassWindow::PreTranslateMessage(message);
}

void CHyperLink::SizeToText() {
    if (!(flags_ & kLinkSizeToText) || hwnd_ == NULL) return;
    RECT window, client;
    GetWindowRect(hwnd_, &window);
    HWND parent = GetParent(hwnd_);
    if (parent != NULL) MapWindowPoints(NULL, parent, reinterpret_cast<POINT*>(&window), 2);
    GetClientRect(hwnd_, &client);

    const std::string text = WindowText(hwnd_);
    SIZE extent = {0, 0};
    {
        WindowDC dc(hwnd_);
        HFONT font = linkFont_ ? linkFont_.Get() : reinterpret_cast<HFONT>(Send(WM_GETFONT));
        SelectedObject selected(dc.Get(), font);
        GetTextExtentPoint32A(dc.Get(), text.c_str(), static_cast<int>(text.size()), &extent);
    }

    const LinkBox box = FitLinkToText(
        LinkBox{window.left, window.top, window.right - window.left, window.bottom - window.top},
        client.right - client.left, client.bottom - client.top, extent.cx, extent.cy,
        static_cast<uint32_t>(GetWindowLongA(hwnd_, GWL_STYLE)));
    SetWindowPos(hwnd_, NULL, box.left, box.top, box.width, box.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CHyperLink::Repaint() const {
    if (hwnd_ != NULL) InvalidateRect(hwnd_, NULL, FALSE);
}

void CHyperLink::LoadHandCursor() {
    if (g_handCursor != NULL) return;
    char path[MAX_PATH + 16];
    const UINT length = GetWindowsDirectoryA(path, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
        lstrcatA(path, "\\winhlp32.exe");
        HMODULE viewer = LoadLibraryA(path);
        if (viewer != NULL) {
            HCURSOR hand = LoadCursorA(viewer, MAKEINTRESOURCEA(kHelpViewerHand));
            // The module's own pointer goes with the module; the copy stays.
            if (hand != NULL) g_handCursor = CopyCursor(hand);
            FreeLibrary(viewer);
        }
    }
    if (g_handCursor == NULL) g_handCursor = LoadCursorA(NULL, IDC_HAND);
}

LRESULT CHyperLink::OnColour(HDC dc) const {
    SetTextColor(dc, ChooseLinkColour(g_colours, state_, flags_));
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
}

LRESULT CHyperLink::OnSetCursor(UINT message, WPARAM wParam, LPARAM lParam) {
    if (g_handCursor != NULL && !(flags_ & kLinkSystemPointer)) {
        SetCursor(g_handCursor);
        return TRUE;
    }
    return CallPrevious(message, wParam, lParam);
}

void CHyperLink::OnMouseMove(LPARAM lParam) {
    if (!state_.over) {
        state_.over = true;
        Repaint();
        SetCapture(hwnd_);
        return;
    }
    RECT client;
    GetClientRect(hwnd_, &client);
    POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    if (!PtInRect(&client, point)) {
        state_.over = false;
        ReleaseCapture();
        Repaint();
    }
}

void CHyperLink::OnLeftButtonDown() {
    if (flags_ & kLinkTakeFocus) SetFocus(hwnd_);
    if (flags_ & kLinkOpenOnPress) FollowLink();
    state_.active = true;
}

void CHyperLink::OnLeftButtonUp() {
    if (state_.active && !(flags_ & kLinkOpenOnPress)) FollowLink();
}

void CHyperLink::OnFocus(bool gained) {
    if (!gained) state_.over = false;
    state_.active = gained;
    Repaint();
}

LRESULT CHyperLink::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kReflectedMessageBase + WM_CTLCOLORSTATIC:
        return OnColour(reinterpret_cast<HDC>(wParam));
    case WM_SETCURSOR:
        return OnSetCursor(message, wParam, lParam);
    case WM_MOUSEMOVE:
        OnMouseMove(lParam);
        return 0;
    case WM_LBUTTONUP:
        OnLeftButtonUp();
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        OnFocus(message == WM_SETFOCUS);
        return CallPrevious(message, wParam, lParam);
    case WM_KEYDOWN:
        if (wParam != VK_SPACE) break;
        FollowLink();
        return 0;
    case WM_NCHITTEST:
        return HTCLIENT;
    case WM_LBUTTONDOWN:
        OnLeftButtonDown();
        return 0;
    case WM_CAPTURECHANGED:
        // Capture taken by someone else: the link no longer learns when the mouse leaves.
        if (reinterpret_cast<HWND>(lParam) != hwnd_ && state_.over) {
            state_.over = false;
            Repaint();
        }
        break;
    case WM_DESTROY:
        toolTip_.Destroy();
        break;
    default:
        break;
    }
    return CallPrevious(message, wParam, lParam);
}
