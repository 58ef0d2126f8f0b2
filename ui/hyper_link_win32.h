#pragma once
#include <windows.h>

#include <string>

#include "platform/handles_win32.h"
#include "ui/hyper_link_rules.h"
#include "ui/subclass_window_win32.h"
#include "ui/tool_tip_win32.h"

// A static text of a dialog turned into a link: drawn in link colours with an underlined
// copy of its font, a hand pointer over it, a tooltip showing the target, and a click or
// the space bar opens the target with the shell. The dialog keeps a CHyperLink member per
// link, binds it to its static control with SubclassDlgItem during initialisation, and
// passes the control-colour requests on (ReflectControlColour) so the link can choose
// its colour. Give the static WS_TABSTOP to reach the link with the keyboard.
class CHyperLink : public CSubclassWindow {
public:
    CHyperLink() = default;
    ~CHyperLink() override;

    const char* ClassName() const override { return "CHyperLink"; }

    // Takes over the static control and makes it a link; false when the control is
    // missing or already driven by an object of ours.
    bool SubclassDlgItem(int id, HWND dialog);
    bool SubclassControl(HWND control);

    // The target. On a link that exists, the control is fitted to its text again and the
    // tooltip shows the new target.
    void SetURL(const char* url);
    const std::string& URL() const { return url_; }

    // The colours of every link of the process; a hover colour of
    // kSystemHighlightColour is the system's selection-highlight colour.
    static void SetColours(COLORREF link, COLORREF active, COLORREF visited,
                           COLORREF hover = kSystemHighlightColour);
    static const LinkColours& Colours();

    // Opens the target; on failure beeps and says why, on success the link is visited.
    void FollowLink();

    // Opens a target with the shell, falling back on the program registered for ".htm"
    // documents. The shell's (or the fallback's) result: above 32 is success.
    static int OpenURL(const char* target, int showMode);

    // The warning that the target could not be opened, owned by the link's window.
    void ReportOpenFailure(int code) const;

    // The tooltip shows the target to the mouse over the link.
    bool PreTranslateMessage(MSG& message) override;

    // HyperLinkFlags; kDefaultLinkFlags unless changed before the link is bound.
    void SetFlags(uint32_t flags) { flags_ = flags; }
    uint32_t Flags() const { return flags_; }
    const LinkState& State() const { return state_; }
    HWND ToolTipWindow() const { return toolTip_.Handle(); }
    HFONT LinkFont() const { return linkFont_.Get(); }

    // The process's hand pointer, or NULL while none could be loaded.
    static HCURSOR HandCursor();

protected:
    // Called once the control is ours: URL and text from each other, the link font and
    // size, the pointer, the tooltip.
    virtual void PreSubclassWindow();
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void SizeToText();
    void Repaint() const;
    static void LoadHandCursor();

    LRESULT OnColour(HDC dc) const;
    LRESULT OnSetCursor(UINT message, WPARAM wParam, LPARAM lParam);
    void OnMouseMove(LPARAM lParam);
    void OnLeftButtonDown();
    void OnLeftButtonUp();
    void OnFocus(bool gained);

    LinkState state_;
    uint32_t flags_ = kDefaultLinkFlags;
    std::string url_;
    FontHandle linkFont_;
    HFONT controlFont_ = NULL;  // the font the control had, given back when we let go
    CToolTip toolTip_;
};
