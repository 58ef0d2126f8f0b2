// CHyperLink on static controls of a test dialog: URL and text, the link font and its
// size, the tooltip, colours, mouse, focus and keys, and opening targets through the
// shell of the Wine prefix, with link_recorder standing in for the programs it starts.
#include "ui/hyper_link_win32.h"

#include <commctrl.h>

#include <functional>
#include <string>

#include "platform/message_box_sink_win32.h"
#include "resources/string_ids.h"
#include "tests/win32/dialog_test_support.h"
#include "tests/win32/link_test_dialogs.h"
#include "tests/win32/link_test_support.h"
#include "ui/item_text_win32.h"
#include "ui/reflected_colour_win32.h"

namespace {

using link_test::BoxWatcher;
using link_test::ClassesKeys;
using link_test::Recorder;

const char kScheme[] = "vorlix-test-link";
const char kNoScheme[] = "vorlix-test-nothing";
const COLORREF kBlue = RGB(0, 0, 255), kTeal = RGB(0, 128, 128), kPurple = RGB(128, 0, 128),
               kRed = RGB(255, 0, 0);

// The test dialog, passing the colour requests on to its links.
class LinkDialog : public ScriptedDialog {
public:
    LinkDialog() : ScriptedDialog(IDD_LINK_TEST) {}

protected:
    INT_PTR WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        INT_PTR brush = 0;
        if (ReflectControlColour(message, wParam, lParam, brush)) return brush;
        return ScriptedDialog::WindowProc(message, wParam, lParam);
    }
};

// Runs the dialog: `bind` during its initialisation, then each step of `steps` on its own
// WM_APP (so that messages posted by a step are handled before the next), then it ends.
void RunSteps(LinkDialog& dialog, const std::function<void(LinkDialog&)>& bind,
              std::vector<std::function<void(LinkDialog&)>> steps) {
    ModalWatchdog watchdog(15000);
    dialog.onInit = [&](ScriptedDialog& d) {
        bind(static_cast<LinkDialog&>(d));
        d.Post(WM_APP, 0);
    };
    dialog.onApp = [&](ScriptedDialog& d, WPARAM step) {
        if (step < steps.size()) steps[step](static_cast<LinkDialog&>(d));
        if (step + 1 < steps.size()) {
            d.Post(WM_APP, step + 1);
        } else {
            d.EndDialog(IDOK);
        }
    };
    EXPECT_EQ(dialog.DoModal(), IDOK);
}

void RunCheck(LinkDialog& dialog, const std::function<void(LinkDialog&)>& bind,
         const std::function<void(LinkDialog&)>& check) {
    RunSteps(dialog, bind, {check});
}

// The colour and brush the dialog answers for a link's repaint.
struct Paint {
    COLORREF colour;
    HGDIOBJ brush;
    int mode;
};

Paint PaintOf(const CHyperLink& link) {
    HWND control = link.Handle();
    HDC dc = GetDC(control);
    SetTextColor(dc, RGB(1, 2, 3));
    Paint paint;
    paint.brush = reinterpret_cast<HGDIOBJ>(
        SendMessageA(GetParent(control), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(control)));
    paint.colour = GetTextColor(dc);
    paint.mode = GetBkMode(dc);
    ReleaseDC(control, dc);
    return paint;
}

LPARAM Point(int x, int y) {
    return MAKELPARAM(static_cast<WORD>(static_cast<short>(x)), static_cast<WORD>(static_cast<short>(y)));
}

RECT WindowRectInParent(HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(NULL, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

SIZE TextSize(const CHyperLink& link) {
    char text[256] = "";
    GetWindowTextA(link.Handle(), text, sizeof text);
    HDC dc = GetDC(link.Handle());
    HGDIOBJ old = SelectObject(dc, link.LinkFont());
    SIZE size = {0, 0};
    GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
    SelectObject(dc, old);
    ReleaseDC(link.Handle(), dc);
    return size;
}

std::string ToolText(const CHyperLink& link) {
    char text[512] = "";
    TOOLINFOA info = {};
    info.cbSize = TTTOOLINFOA_V1_SIZE;
    info.hwnd = link.Handle();
    info.uId = 1;
    info.lpszText = text;
    SendMessageA(link.ToolTipWindow(), TTM_GETTEXTA, 0, reinterpret_cast<LPARAM>(&info));
    return text;
}

class HyperLinkTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        CHyperLink::SetColours(kBlue, kTeal, kPurple, kRed);
    }
    void TearDown() override {
        CHyperLink::SetColours(kBlue, kTeal, kPurple, kRed);
        DialogTest::TearDown();
    }
};

TEST_F(HyperLinkTest, TheTextBecomesTheUrlAndTheUrlTheText) {
    LinkDialog dialog;
    CHyperLink fromText, fromUrl;
    fromUrl.SetURL("http://url.example/");
    RunCheck(dialog,
        [&](LinkDialog& d) {
            EXPECT_TRUE(fromText.SubclassDlgItem(IDC_LINK_LEFT, d.Handle()));
            EXPECT_TRUE(fromUrl.SubclassDlgItem(IDC_LINK_EMPTY, d.Handle()));
        },
        [&](LinkDialog& d) {
            EXPECT_EQ(fromText.URL(), "http://left.example/");
            EXPECT_EQ(ItemText(d.Handle(), IDC_LINK_EMPTY), "http://url.example/");
            EXPECT_STREQ(fromText.ClassName(), "CHyperLink");
        });
}

TEST_F(HyperLinkTest, AControlIsBoundOnlyOnce) {
    LinkDialog dialog;
    CHyperLink first, second;
    RunCheck(dialog,
        [&](LinkDialog& d) {
            EXPECT_TRUE(first.SubclassDlgItem(IDC_LINK_LEFT, d.Handle()));
            EXPECT_FALSE(second.SubclassDlgItem(IDC_LINK_LEFT, d.Handle()));
            EXPECT_FALSE(second.SubclassDlgItem(4711, d.Handle()));
        },
        [&](LinkDialog&) { EXPECT_EQ(second.Handle(), (HWND)NULL); });
}

TEST_F(HyperLinkTest, DrawsWithAnUnderlinedCopyOfTheControlsFont) {
    LinkDialog dialog;
    CHyperLink link;
    RunCheck(dialog, [&](LinkDialog& d) { link.SubclassDlgItem(IDC_LINK_LEFT, d.Handle()); },
        [&](LinkDialog& d) {
            HFONT dialogFont = reinterpret_cast<HFONT>(d.Send(WM_GETFONT));
            ASSERT_NE(link.LinkFont(), (HFONT)NULL);
            EXPECT_EQ(reinterpret_cast<HFONT>(link.Send(WM_GETFONT)), link.LinkFont());
            LOGFONTA mine, theirs;
            ASSERT_TRUE(GetObjectA(link.LinkFont(), sizeof mine, &mine));
            ASSERT_TRUE(GetObjectA(dialogFont, sizeof theirs, &theirs));
            EXPECT_TRUE(mine.lfUnderline);
            EXPECT_FALSE(theirs.lfUnderline);
            EXPECT_EQ(mine.lfHeight, theirs.lfHeight);
            EXPECT_STREQ(mine.lfFaceName, theirs.lfFaceName);
        });
}

TEST_F(HyperLinkTest, WithoutTheUnderlineFlagTheCopyIsPlain) {
    LinkDialog dialog;
    CHyperLink link;
    link.SetFlags(kDefaultLinkFlags & ~kLinkUnderline);
    RunCheck(dialog, [&](LinkDialog& d) { link.SubclassDlgItem(IDC_LINK_LEFT, d.Handle()); },
        [&](LinkDialog&) {
            LOGFONTA mine;
            ASSERT_TRUE(GetObjectA(link.LinkFont(), sizeof mine, &mine));
            EXPECT_FALSE(mine.lfUnderline);
        });
}

// Each alignment keeps its own edge (or centre) and the control ends up as wide and as
// high as its text (the vertically centred one keeps the truncated half-difference).
TEST_F(HyperLinkTest, FitsEachControlToItsText) {
    LinkDialog dialog;
    const int ids[] = {IDC_LINK_LEFT, IDC_LINK_CENTRE, IDC_LINK_RIGHT, IDC_LINK_MIDDLE};
    CHyperLink links[4];
    RECT before[4];
    RunCheck(dialog,
        [&](LinkDialog& d) {
            for (int i = 0; i < 4; ++i) {
                before[i] = WindowRectInParent(d.Item(ids[i]));
                links[i].SubclassDlgItem(ids[i], d.Handle());
            }
        },
        [&](LinkDialog&) {
            for (int i = 0; i < 4; ++i) {
                SCOPED_TRACE(ids[i]);
                const RECT after = WindowRectInParent(links[i].Handle());
                const SIZE text = TextSize(links[i]);
                const int oldWidth = before[i].right - before[i].left;
                const int oldHeight = before[i].bottom - before[i].top;
                ASSERT_GT(text.cx, 0);
                ASSERT_LT(text.cx, oldWidth);
                if (ids[i] == IDC_LINK_CENTRE) {
                    const int shrink = (oldWidth - text.cx) / 2;
                    EXPECT_EQ(after.left, before[i].left + shrink);
                    EXPECT_EQ(after.right, before[i].right - shrink);
                } else if (ids[i] == IDC_LINK_RIGHT) {
                    EXPECT_EQ(after.right, before[i].right);
                    EXPECT_EQ(after.right - after.left, text.cx);
                } else {
                    EXPECT_EQ(after.left, before[i].left);
                    EXPECT_EQ(after.right - after.left, text.cx);
                }
                if (ids[i] == IDC_LINK_MIDDLE) {
                    const int shrink = (oldHeight - text.cy) / 2;
                    EXPECT_EQ(after.top, before[i].top + shrink);
                    EXPECT_EQ(after.bottom, before[i].bottom - shrink);
                } else {
                    EXPECT_EQ(after.top, before[i].top);
                    EXPECT_EQ(after.bottom - after.top, text.cy);
                }
            }
        });
}

TEST_F(HyperLinkTest, WithoutTheSizeFlagTheControlKeepsItsSize) {
    LinkDialog dialog;
    CHyperLink link;
    link.SetFlags(kDefaultLinkFlags & ~kLinkSizeToText);
    RECT before;
    RunCheck(dialog,
        [&](LinkDialog& d) {
            before = WindowRectInParent(d.Item(IDC_LINK_LEFT));
            link.SubclassDlgItem(IDC_LINK_LEFT, d.Handle());
        },
        [&](LinkDialog&) {
            const RECT after = WindowRectInParent(link.Handle());
            EXPECT_TRUE(EqualRect(&before, &after));
        });
}

TEST_F(HyperLinkTest, TheTooltipShowsTheUrlAndFollowsSetUrl) {
    LinkDialog dialog;
    CHyperLink link;
    RunCheck(dialog, [&](LinkDialog& d) { link.SubclassDlgItem(IDC_LINK_LEFT, d.Handle()); },
        [&](LinkDialog& d) {
            ASSERT_NE(link.ToolTipWindow(), (HWND)NULL);
            EXPECT_EQ(SendMessageA(link.ToolTipWindow(), TTM_GETTOOLCOUNT, 0, 0), 1);
            EXPECT_EQ(ToolText(link), "http://left.example/");

            d.SetItemText(IDC_LINK_LEFT, "a much longer text than before");
            link.SetURL("mailto:someone@host.example");
            EXPECT_EQ(ToolText(link), "mailto:someone@host.example");
            EXPECT_TRUE(link.IsVisible());
            RECT client;
            GetClientRect(link.Handle(), &client);
            EXPECT_EQ(client.right, TextSize(link).cx);
        });
}

TEST_F(HyperLinkTest, SetUrlLeavesAHiddenLinkHidden) {
    LinkDialog dialog;
    CHyperLink link;
    RunCheck(dialog, [&](LinkDialog& d) { link.SubclassDlgItem(IDC_LINK_LEFT, d.Handle()); },
        [&](LinkDialog&) {
            link.Show(SW_HIDE);
            link.SetURL("http://other.example/");
            EXPECT_FALSE(link.IsVisible());
            EXPECT_EQ(ToolText(link), "http://other.example/");
        });
}

TEST_F(HyperLinkTest, RepaintsTransparentlyInTheColourOfItsState) {
    LinkDialog dialog;
    CHyperLink link;
    RunCheck(dialog, [&](LinkDialog& d) { link.SubclassDlgItem(IDC_LINK_LEFT, d.Handle()); },
        [&](LinkDialog& d) {
            Paint paint = PaintOf(link);
            EXPECT_EQ(paint.colour, kBlue);
            EXPECT_EQ(paint.brush, GetStockObject(NULL_BRUSH));
            EXPECT_EQ(paint.mode, TRANSPARENT);

            // The default flags never use the hover colour.
            link.Send(WM_MOUSEMOVE, 0, Point(1, 1));
            EXPECT_TRUE(link.State().over);
            EXPECT_EQ(PaintOf(link).colour, kBlue);

            SetFocus(link.Handle());
            EXPECT_TRUE(link.State().active);
            EXPECT_EQ(PaintOf(link).colour, kTeal);

            SetFocus(d.Item(IDC_LINK_BUTTON));
            EXPECT_FALSE(link.State().active);
            EXPECT_FALSE(link.State().over);
            EXPECT_EQ(PaintOf(link).colour, kBlue);
        });
}

TEST_F(HyperLinkTest, TheHoverAndNoActiveFlagsChangeTheColours) {
    LinkDialog dialog;
    CHyperLink link;
    link.SetFlags(kDefaultLinkFlags | kLinkHoverColour | kLinkNeverActiveColour);
    RunCheck(dialog, [&](LinkDialog& d) { link.SubclassDlgItem(IDC_LINK_LEFT, d.Handle()); },
        [&](LinkDialog&) {
            SetFocus(link.Handle());
            EXPECT_EQ(PaintOf(link).colour, kBlue);
            link.Send(WM_MOUSEMOVE, 0, Point(1, 1));
            EXPECT_EQ(PaintOf(link).colour, kRed);
            link.Send(WM_MOUSEMOVE, 0, Point(-3, 1));
            EXPECT_EQ(PaintOf(link).colour, kBlue);
        });
}

TEST_F(HyperLinkTest, AHoverColourOfAllBitsIsTheSystemHighlight) {
    CHyperLink::SetColours(kBlue, kBlue, kBlue, static_cast<COLORREF>(-1));
    EXPECT_EQ(CHyperLink::Colours().hover, GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(CHyperLink::Colours().active, kBlue);
}

TEST_F(HyperLinkTest, HoldsTheMouseWhileItIsOverTheLink) {
    LinkDialog dialog;
    CHyperLink link;
    RunCheck(dialog, [&](LinkDialog& d) { link.SubclassDlgItem(IDC_LINK_LEFT, d.Handle()); },
        [&](LinkDialog&) {
            EXPECT_EQ(link.Send(WM_NCHITTEST, 0, 0), HTCLIENT);
            link.Send(WM_MOUSEMOVE, 0, Point(2, 2));
            EXPECT_TRUE(link.State().over);
            EXPECT_EQ(GetCapture(), link.Handle());
            link.Send(WM_MOUSEMOVE, 0, Point(3, 2));  // still inside
            EXPECT_EQ(GetCapture(), link.Handle());
            link.Send(WM_MOUSEMOVE, 0, Point(-5, -5));
            EXPECT_FALSE(link.State().over);
            EXPECT_NE(GetCapture(), link.Handle());

            // Someone else taking the mouse ends "over" as well.
            link.Send(WM_MOUSEMOVE, 0, Point(2, 2));
            SetCapture(GetParent(link.Handle()));
            EXPECT_FALSE(link.State().over);
            ReleaseCapture();
        });
}

TEST_F(HyperLinkTest, ShowsTheHandPointer) {
    LinkDialog dialog;
    CHyperLink link;
    RunCheck(dialog, [&](LinkDialog& d) { link.SubclassDlgItem(IDC_LINK_LEFT, d.Handle()); },
        [&](LinkDialog&) {
            ASSERT_NE(CHyperLink::HandCursor(), (HCURSOR)NULL);
            EXPECT_EQ(link.Send(WM_SETCURSOR, reinterpret_cast<WPARAM>(link.Handle()),
                                MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
                      TRUE);
            EXPECT_EQ(GetCursor(), CHyperLink::HandCursor());
        });
}

TEST_F(HyperLinkTest, WithTheSystemPointerFlagTheHandIsNotShown) {
    LinkDialog dialog;
    CHyperLink link;
    link.SetFlags(kDefaultLinkFlags | kLinkSystemPointer);
    RunCheck(dialog, [&](LinkDialog& d) { link.SubclassDlgItem(IDC_LINK_LEFT, d.Handle()); },
        [&](LinkDialog&) {
            SetCursor(LoadCursor(NULL, IDC_ARROW));
            link.Send(WM_SETCURSOR, reinterpret_cast<WPARAM>(link.Handle()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
            EXPECT_NE(GetCursor(), CHyperLink::HandCursor());
        });
}

// --- Opening targets ------------------------------------------------------------------

class OpeningLinks : public HyperLinkTest {
protected:
    ClassesKeys keys{{kScheme, kNoScheme, ".htm", "VorlixTestHtml"}};
    Recorder recorder;

    void SetUp() override {
        HyperLinkTest::SetUp();
        Recorder::OpenWith(kScheme, true);
        // A ".htm" class without a command: no fallback.
        link_test::SetText(HKEY_CLASSES_ROOT, ".htm", NULL, "VorlixTestHtml");
        link_test::SetText(HKEY_CLASSES_ROOT, "VorlixTestHtml", NULL, "test");
    }
};

TEST_F(OpeningLinks, AClickOpensTheTargetOnRelease) {
    LinkDialog dialog;
    CHyperLink link;
    link.SetURL("vorlix-test-link:clicked");
    bool visitedAfterPress = true, focused = false;
    RunCheck(dialog, [&](LinkDialog& d) { link.SubclassDlgItem(IDC_LINK_LEFT, d.Handle()); },
        [&](LinkDialog&) {
            link.Send(WM_MOUSEMOVE, 0, Point(1, 1));
            link.Send(WM_LBUTTONDOWN, MK_LBUTTON, Point(1, 1));
            visitedAfterPress = link.State().visited;
            focused = GetFocus() == link.Handle();
            link.Send(WM_LBUTTONUP, 0, Point(1, 1));
            EXPECT_TRUE(link.State().visited);
            EXPECT_EQ(PaintOf(link).colour, kTeal) << "pressed, and still focused";
            link.Send(WM_KILLFOCUS);
            EXPECT_EQ(PaintOf(link).colour, kPurple);
        });
    EXPECT_FALSE(visitedAfterPress);
    EXPECT_TRUE(focused);
    EXPECT_EQ(recorder.Wait(), "vorlix-test-link:clicked\n");
}

TEST_F(OpeningLinks, PressingAndLeavingBeforeTheReleaseOpensNothing) {
    LinkDialog dialog;
    CHyperLink link;
    link.SetURL("vorlix-test-link:left");
    RunCheck(dialog, [&](LinkDialog& d) { link.SubclassDlgItem(IDC_LINK_LEFT, d.Handle()); },
        [&](LinkDialog&) {
            link.Send(WM_MOUSEMOVE, 0, Point(1, 1));
            link.Send(WM_LBUTTONDOWN, MK_LBUTTON, Point(1, 1));
            link.Send(WM_MOUSEMOVE, MK_LBUTTON, Point(-20, 1));
            // The capture has gone, so the release reaches some other window.
            EXPECT_NE(GetCapture(), link.Handle());
        });
    EXPECT_FALSE(link.State().visited);
    EXPECT_FALSE(recorder.Recorded());
}

TEST_F(OpeningLinks, WithTheOpenOnPressFlagThePressOpensIt) {
    LinkDialog dialog;
    CHyperLink link;
    link.SetFlags(kDefaultLinkFlags | kLinkOpenOnPress);
    link.SetURL("vorlix-test-link:pressed");
    bool visitedAfterPress = false;
    RunCheck(dialog, [&](LinkDialog& d) { link.SubclassDlgItem(IDC_LINK_LEFT, d.Handle()); },
        [&](LinkDialog&) {
            link.Send(WM_LBUTTONDOWN, MK_LBUTTON, Point(1, 1));
            visitedAfterPress = link.State().visited;
            link.Send(WM_LBUTTONUP, 0, Point(1, 1));
        });
    EXPECT_TRUE(visitedAfterPress);
    EXPECT_EQ(recorder.Wait(), "vorlix-test-link:pressed\n") << "opened once";
}

TEST_F(OpeningLinks, WithoutTheFocusFlagAPressLeavesTheFocus) {
    LinkDialog dialog;
    CHyperLink link;
    link.SetFlags(kDefaultLinkFlags & ~kLinkTakeFocus);
    link.SetURL("vorlix-test-link:unfocused");
    HWND focus = NULL;
    RunCheck(dialog, [&](LinkDialog& d) { link.SubclassDlgItem(IDC_LINK_LEFT, d.Handle()); },
        [&](LinkDialog& d) {
            SetFocus(d.Item(IDC_LINK_BUTTON));
            link.Send(WM_LBUTTONDOWN, MK_LBUTTON, Point(1, 1));
            focus = GetFocus();
            link.Send(WM_LBUTTONUP, 0, Point(1, 1));
        });
    EXPECT_NE(focus, link.Handle());
    EXPECT_EQ(recorder.Wait(), "vorlix-test-link:unfocused\n");
}

TEST_F(OpeningLinks, TabToTheLinkAndPressSpace) {
    LinkDialog dialog;
    CHyperLink link;
    link.SetURL("vorlix-test-link:keyboard");
    HWND focused = NULL, linkWindow = NULL;
    RunSteps(dialog, [&](LinkDialog& d) { link.SubclassDlgItem(IDC_LINK_TAB, d.Handle()); },
             {[&](LinkDialog& d) {
                  linkWindow = link.Handle();
                  SetFocus(d.Item(IDC_LINK_BUTTON));
                  PostMessageA(d.Item(IDC_LINK_BUTTON), WM_KEYDOWN, VK_TAB, 0);
              },
              [&](LinkDialog&) {
                  focused = GetFocus();
                  PostMessageA(focused, WM_KEYDOWN, 'A', 0);  // other keys do nothing
                  PostMessageA(focused, WM_KEYDOWN, VK_SPACE, 0);
              },
              [&](LinkDialog&) {}});
    EXPECT_EQ(focused, linkWindow);
    EXPECT_EQ(recorder.Wait(), "vorlix-test-link:keyboard\n");
    EXPECT_TRUE(link.State().visited);
}

TEST_F(OpeningLinks, AFailingOpenBeepsAndSaysWhyOverTheDialog) {
    LinkDialog dialog;
    CHyperLink link;
    link.SetURL("vorlix-test-nothing:at-all");
    int shellResult = 0;
    std::string expected;
    HWND dialogWindow = NULL;
    BoxWatcher watcher;
    RunCheck(dialog, [&](LinkDialog& d) { link.SubclassDlgItem(IDC_LINK_LEFT, d.Handle()); },
        [&](LinkDialog& d) {
            dialogWindow = d.Handle();
            shellResult = CHyperLink::OpenURL("vorlix-test-nothing:at-all", SW_SHOWNORMAL);
            link.Send(WM_MOUSEMOVE, 0, Point(1, 1));
            link.Send(WM_LBUTTONDOWN, MK_LBUTTON, Point(1, 1));
            link.Send(WM_LBUTTONUP, 0, Point(1, 1));
            // The box could be clicked: the link let go of the mouse before it showed.
            EXPECT_NE(GetCapture(), link.Handle());
        });
    ASSERT_LE(shellResult, 32);
    char text[1024];
    UserMessage message = OpenFailureMessage(shellResult);
    FormatUserMessage(NULL, message, text, sizeof text);
    EXPECT_TRUE(watcher.Seen().found);
    EXPECT_EQ(watcher.Seen().text, text);
    EXPECT_EQ(watcher.Seen().text.rfind("Can't open link:\n\n", 0), 0u);
    EXPECT_EQ(watcher.Seen().icon, LoadIcon(NULL, IDI_EXCLAMATION));
    EXPECT_EQ(watcher.Seen().owner, dialogWindow);
    EXPECT_FALSE(link.State().visited);
    EXPECT_FALSE(recorder.Recorded());
}

struct ReportCase {
    int code;
    const char* text;
};

class ReportOpenFailure : public HyperLinkTest, public testing::WithParamInterface<ReportCase> {};

TEST_P(ReportOpenFailure, ShowsTheTextForTheCode) {
    CHyperLink link;  // not bound: the box has no owner
    BoxWatcher watcher;
    link.ReportOpenFailure(GetParam().code);
    EXPECT_TRUE(watcher.Seen().found);
    EXPECT_EQ(watcher.Seen().text, GetParam().text);
    EXPECT_EQ(watcher.Seen().icon, LoadIcon(NULL, IDI_EXCLAMATION));
}

INSTANTIATE_TEST_SUITE_P(
    Codes, ReportOpenFailure,
    testing::Values(
        ReportCase{31, "Can't open link:\n\nThere is no application associated\nwith the given filename extension."},
        ReportCase{26, "Can't open link:\n\nA sharing violation occurred. "},
        ReportCase{0, "Can't open link:\n\nThe operating system is out\nof memory or resources."},
        ReportCase{99, "Can't open link:\n\nUnknown Error (99) occurred."}));

// One value of the class root, put back as it was when the test ends.
class KeptValue {
public:
    explicit KeptValue(std::string path)
        : path_(std::move(path)),
          existed_(link_test::KeyExists(HKEY_CLASSES_ROOT, path_)),
          saved_(link_test::GetText(HKEY_CLASSES_ROOT, path_, NULL)) {}
    ~KeptValue() {
        if (!existed_) {
            RegDeleteKeyA(HKEY_CLASSES_ROOT, path_.c_str());
        } else if (saved_ != "<missing>") {
            link_test::SetText(HKEY_CLASSES_ROOT, path_, NULL, saved_);
        }
    }
    KeptValue(const KeptValue&) = delete;
    KeptValue& operator=(const KeptValue&) = delete;

private:
    std::string path_;
    bool existed_;
    std::string saved_;
};

// With the shell at a loss (its http program is missing), the program registered for
// ".htm" gets the address as one quoted argument after its command's "%1" is cut off.
TEST_F(OpeningLinks, TheHtmlProgramIsTheFallback) {
    KeptValue httpCommand("http\\shell\\open\\command");
    link_test::SetText(HKEY_CLASSES_ROOT, "http\\shell\\open\\command", NULL,
                       "\"C:\\vorlix-no-such-browser.exe\" \"%1\"");
    link_test::SetText(HKEY_CLASSES_ROOT, "VorlixTestHtml\\shell\\open\\command", NULL,
                       "\"" + Recorder::Program() + "\" \"%1\"");
    const int result = CHyperLink::OpenURL("http://vorlix.example/a b&c", SW_SHOWNORMAL);
    EXPECT_GT(result, 32);
    EXPECT_EQ(recorder.Wait(), "http://vorlix.example/a b&c\n");
}

// Anything but a web or mail address stays with the shell's answer: the browser's
// command line is no way to start what the shell would not.
TEST_F(OpeningLinks, OtherTargetsAreNotHandedToTheHtmlProgram) {
    link_test::SetText(HKEY_CLASSES_ROOT, "VorlixTestHtml\\shell\\open\\command", NULL,
                       "\"" + Recorder::Program() + "\" \"%1\"");
    EXPECT_LE(CHyperLink::OpenURL("vorlix-test-nothing:fallback", SW_SHOWNORMAL), 32);
    EXPECT_FALSE(recorder.Recorded());
}

TEST_F(OpeningLinks, TheShellOpensAKnownSchemeItself) {
    EXPECT_GT(CHyperLink::OpenURL("vorlix-test-link:direct", SW_SHOWNORMAL), 32);
    EXPECT_EQ(recorder.Wait(), "vorlix-test-link:direct\n");
}

}  // namespace
