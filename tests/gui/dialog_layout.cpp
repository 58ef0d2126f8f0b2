#include "tests/gui/dialog_layout.h"

#include "platform/handles_win32.h"

namespace gui {
namespace {

struct Control {
    HWND window;
    std::string kind;  // "box", "group" or "other"
    std::string text;
    RECT frame;
};

std::string Describe(const Control& control) {
    return std::to_string(static_cast<short>(GetDlgCtrlID(control.window))) + " \"" + control.text + "\"";
}

std::string KindOf(HWND window) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    if (lstrcmpiA(name, "Button") != 0) return lstrcmpiA(name, "Static") == 0 ? "label" : "other";
    switch (style & BS_TYPEMASK) {
        case BS_GROUPBOX: return "group";
        case BS_CHECKBOX: case BS_AUTOCHECKBOX: case BS_3STATE: case BS_AUTO3STATE:
        case BS_RADIOBUTTON: case BS_AUTORADIOBUTTON: return "box";
        default: return "other";
    }
}

std::vector<Control> VisibleControls(HWND dialog) {
    std::vector<Control> controls;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child)) continue;
        char text[256] = "";
        GetWindowTextA(child, text, sizeof text);
        Control control{child, KindOf(child), text, {}};
        GetWindowRect(child, &control.frame);
        controls.push_back(control);
    }
    return controls;
}

// The dialogs' own font ("MS Sans Serif", 8 points), as this process gets it: a font
// handle of another process means nothing here.
int TextWidth(const std::string& text) {
    WindowDC screen(NULL);
    GdiObject<HFONT> font(CreateFontA(-MulDiv(8, GetDeviceCaps(screen.Get(), LOGPIXELSY), 72), 0,
                                      0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0,
                                      0, 0, "MS Sans Serif"));
    SelectedObject selected(screen.Get(), font.Get());
    SIZE size = {};
    GetTextExtentPoint32A(screen.Get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

// A single-line label or box whose text is wider than the room its control leaves.
bool TextIsCut(const Control& control) {
    if (control.text.empty() || control.text.find_first_of("\t\r\n&") != std::string::npos) {
        return false;
    }
    int room = control.frame.right - control.frame.left;
    if (control.kind == "box") room -= GetSystemMetrics(SM_CXMENUCHECK) + 4;  // box and gap
    else if (control.kind != "label") return false;
    return TextWidth(control.text) > room;
}

bool Overlap(const RECT& a, const RECT& b) {
    RECT both;
    return IntersectRect(&both, &a, &b) != FALSE;
}

}  // namespace

std::vector<std::string> LayoutFaults(HWND dialog) {
    std::vector<std::string> faults;
    const std::vector<Control> controls = VisibleControls(dialog);
    for (size_t i = 0; i < controls.size(); ++i) {
        if (TextIsCut(controls[i])) faults.push_back("text cut: " + Describe(controls[i]));
        if (controls[i].kind == "group") continue;  // a frame around others
        for (size_t j = i + 1; j < controls.size(); ++j) {
            if (controls[j].kind != "group" && Overlap(controls[i].frame, controls[j].frame)) {
                faults.push_back("overlap: " + Describe(controls[i]) + " and " + Describe(controls[j]));
            }
        }
    }
    return faults;
}

bool LabelHolds(HWND control, const std::string& text) {
    RECT frame;
    return GetWindowRect(control, &frame) && TextWidth(text) <= frame.right - frame.left;
}

}  // namespace gui
