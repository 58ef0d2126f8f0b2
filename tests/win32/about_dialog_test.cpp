// The About dialog on its real template: its texts, its two links with their targets,
// tooltips and colours, and a click on the mail line reaching the prefix's mail program
// (link_recorder registered for "mailto").
#include "program/about_dialog_win32.h"

#include <commctrl.h>

#include <functional>
#include <string>

#include "resources/dialog_ids.h"
#include "tests/win32/dialog_test_support.h"
#include "tests/win32/link_test_support.h"
#include "ui/item_text_win32.h"

namespace {

using link_test::ClassesKeys;
using link_test::Recorder;

const COLORREF kBlue = RGB(0, 0, 255);

// The About dialog with a hook once it shows.
class ScriptedAbout : public AboutDialog {
public:
    std::function<void(ScriptedAbout&)> onShown;

protected:
    bool OnInitDialog() override {
        bool result = AboutDialog::OnInitDialog();
        Post(WM_APP);
        return result;
    }
    INT_PTR WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message != WM_APP) return AboutDialog::WindowProc(message, wParam, lParam);
        if (onShown) onShown(*this);
        EndDialog(IDOK);
        return TRUE;
    }
};

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

COLORREF TextColour(HWND dialog, HWND control) {
    HDC dc = GetDC(control);
    SetTextColor(dc, RGB(1, 2, 3));
    SendMessageA(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
    COLORREF colour = GetTextColor(dc);
    ReleaseDC(control, dc);
    return colour;
}

class AboutDialogTest : public DialogTest {
protected:
    void TearDown() override {
        // The links' colours are the whole process's.
        CHyperLink::SetColours(RGB(0, 0, 255), RGB(0, 128, 128), RGB(128, 0, 128), RGB(255, 0, 0));
        DialogTest::TearDown();
    }
    ModalWatchdog watchdog{15000};
};

TEST_F(AboutDialogTest, ShowsNameVersionDateAndTheMakersAddresses) {
    ScriptedAbout dialog;
    std::string caption, title, date, mail, web;
    dialog.onShown = [&](ScriptedAbout& d) {
        caption = WindowText(d.Handle());
        title = ItemText(d.Handle(), IDC_ABOUT_TITLE);
        date = ItemText(d.Handle(), IDC_ABOUT_DATE);
        mail = ItemText(d.Handle(), IDC_ABOUT_MAIL);
        web = ItemText(d.Handle(), IDC_ABOUT_WEB);
    };
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(caption, "About Vorlix");
    EXPECT_EQ(title, "Vorlix 1.5.2");
    EXPECT_EQ(date, "November 13, 2001");
    EXPECT_EQ(mail, "vorlix@quendal-software.example");
    EXPECT_EQ(web, "http://www.quendal-software.example/");
    EXPECT_STREQ(dialog.ClassName(), "AboutDialog");
}

TEST_F(AboutDialogTest, TheLinksOpenTheWebAddressAndANewMailAndShowThatInTheirTips) {
    ScriptedAbout dialog;
    std::string webTip, mailTip;
    bool webFitted = false, mailFitted = false;
    dialog.onShown = [&](ScriptedAbout& d) {
        webTip = ToolText(d.WebLink());
        mailTip = ToolText(d.MailLink());
        // Fitted to the address, not to the template's placeholder.
        for (const CHyperLink* link : {&d.WebLink(), &d.MailLink()}) {
            const std::string text = WindowText(link->Handle());
            HDC dc = GetDC(link->Handle());
            HGDIOBJ old = SelectObject(dc, link->LinkFont());
            SIZE size = {0, 0};
            GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
            SelectObject(dc, old);
            ReleaseDC(link->Handle(), dc);
            RECT client;
            GetClientRect(link->Handle(), &client);
            (link == &d.WebLink() ? webFitted : mailFitted) = client.right == size.cx;
        }
    };
    dialog.DoModal();
    EXPECT_EQ(dialog.WebLink().URL(), "http://www.quendal-software.example/");
    EXPECT_EQ(dialog.MailLink().URL(), "mailto:vorlix@quendal-software.example");
    EXPECT_EQ(webTip, "http://www.quendal-software.example/");
    EXPECT_EQ(mailTip, "mailto:vorlix@quendal-software.example");
    EXPECT_TRUE(webFitted);
    EXPECT_TRUE(mailFitted);
}

TEST_F(AboutDialogTest, BothLinksStayBlueWhateverTheirState) {
    ScriptedAbout dialog;
    std::vector<COLORREF> colours;
    dialog.onShown = [&](ScriptedAbout& d) {
        for (const CHyperLink* link : {&d.WebLink(), &d.MailLink()}) {
            HWND control = link->Handle();
            colours.push_back(TextColour(d.Handle(), control));
            SetFocus(control);  // active
            colours.push_back(TextColour(d.Handle(), control));
            SendMessageA(control, WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));  // over
            colours.push_back(TextColour(d.Handle(), control));
            SendMessageA(control, WM_MOUSEMOVE, 0, MAKELPARAM(0xFFF0, 1));
        }
        SetFocus(d.Item(IDOK));
    };
    dialog.DoModal();
    EXPECT_EQ(colours, std::vector<COLORREF>(6, kBlue));
    EXPECT_EQ(CHyperLink::Colours().visited, kBlue);
    EXPECT_EQ(CHyperLink::Colours().hover, kBlue);
}

// A control's tooltip is the string with its ID; none of the dialog's controls has one.
TEST_F(AboutDialogTest, NoControlHasATooltipText) {
    for (int id : {IDC_ABOUT_TITLE, IDC_ABOUT_DATE, IDC_ABOUT_MAIL, IDC_ABOUT_WEB, IDOK}) {
        char text[16];
        EXPECT_EQ(LoadStringA(GetModuleHandleA(NULL), id, text, sizeof text), 0) << id;
    }
}

class AboutDialogLinks : public AboutDialogTest {
protected:
    ClassesKeys keys{{"mailto"}};
    Recorder recorder;
};

TEST_F(AboutDialogLinks, ClickingTheMailLineOpensANewMailToTheMaker) {
    Recorder::OpenWith("mailto", true);
    ScriptedAbout dialog;
    dialog.onShown = [&](ScriptedAbout& d) {
        HWND mail = d.MailLink().Handle();
        SendMessageA(mail, WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
        SendMessageA(mail, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
        SendMessageA(mail, WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
    };
    dialog.DoModal();
    EXPECT_EQ(recorder.Wait(), "mailto:vorlix@quendal-software.example\n");
    EXPECT_TRUE(dialog.MailLink().State().visited);
    EXPECT_FALSE(dialog.WebLink().State().visited);
}

}  // namespace
