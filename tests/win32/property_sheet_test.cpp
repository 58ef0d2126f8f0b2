// Property sheets run by our own modal loop: results, the PreTranslateMessage hooks of
// sheet and pages, the buttons, tooltips on pages and the sheet's fade.
#include "tests/win32/dialog_test_support.h"
#include "ui/my_property_page_win32.h"
#include "ui/my_property_sheet_win32.h"

namespace {

bool IsTestMessage(const MSG& m) {
    return m.message >= WM_APP && m.message < 0xC000;
}

class ScriptedPage : public CMyPropertyPage {
public:
    using CMyPropertyPage::CMyPropertyPage;

    std::function<void(ScriptedPage&)> onInit;
    std::function<void(ScriptedPage&)> onApp;  // WM_APP, once the sheet runs
    std::function<bool(ScriptedPage&)> onApply;
    std::vector<UINT> preTranslated;
    int applyCount = 0;

    int ToolCount() const { return toolTip_.ToolCount(); }
    HWND Sheet() const { return GetParent(Handle()); }

    bool PreTranslateMessage(MSG& message) override {
        if (IsTestMessage(message)) preTranslated.push_back(message.message);
        return CMyPropertyPage::PreTranslateMessage(message);
    }

protected:
    bool OnInitDialog() override {
        bool result = CMyPropertyPage::OnInitDialog();
        if (onInit) onInit(*this);
        return result;
    }
    INT_PTR WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_APP) {
            if (onApp) onApp(*this);
            return TRUE;
        }
        return CMyPropertyPage::WindowProc(message, wParam, lParam);
    }
    bool OnApply() override {
        ++applyCount;
        return onApply ? onApply(*this) : true;
    }
};

class ScriptedSheet : public CMyPropertySheet {
public:
    using CMyPropertySheet::CMyPropertySheet;

    std::vector<UINT> preTranslated;
    HWND currentPageAtInit = NULL;
    bool layeredAtInit = false;

    bool PreTranslateMessage(MSG& message) override {
        if (IsTestMessage(message)) preTranslated.push_back(message.message);
        return CMyPropertySheet::PreTranslateMessage(message);
    }

protected:
    bool OnInitDialog() override {
        bool result = CMyPropertySheet::OnInitDialog();
        currentPageAtInit = PropSheet_GetCurrentPageHwnd(Handle());
        layeredAtInit = (ExStyle() & WS_EX_LAYERED) != 0;
        return result;
    }
};

void Press(HWND sheet, int button) {
    PostMessageA(sheet, PSM_PRESSBUTTON, button, 0);
}

class SheetTest : public DialogTest {
protected:
    ModalWatchdog watchdog;
    OwnerWindow owner;
};

TEST_F(SheetTest, OkGivesIdokOnceThePagesTookTheirValues) {
    ScriptedSheet sheet("Sheet", owner.Handle());
    ScriptedPage page(IDD_TEST_PAGE);
    sheet.AddPage(page);
    BOOL ownerEnabledDuring = TRUE;
    HWND ownerOfSheet = NULL;
    page.onInit = [](ScriptedPage& p) { p.Post(WM_APP); };
    page.onApp = [&](ScriptedPage& p) {
        ownerEnabledDuring = IsWindowEnabled(owner.Handle());
        ownerOfSheet = GetWindow(p.Sheet(), GW_OWNER);
        PostMessageA(p.Item(IDC_TEST_PAGE_EDIT), WM_APP + 3, 0, 0);  // through page and sheet
        PostMessageA(p.Sheet(), WM_APP + 4, 0, 0);                    // the sheet's own
        Press(p.Sheet(), PSBTN_OK);
    };
    EXPECT_EQ(sheet.DoModal(), IDOK);
    EXPECT_EQ(page.applyCount, 1);
    EXPECT_EQ(page.preTranslated, (std::vector<UINT>{WM_APP, WM_APP + 3}));
    EXPECT_EQ(sheet.preTranslated, (std::vector<UINT>{WM_APP, WM_APP + 3, WM_APP + 4}));
    EXPECT_EQ(ownerOfSheet, owner.Handle());
    EXPECT_FALSE(ownerEnabledDuring);
    EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
    EXPECT_EQ(sheet.Handle(), (HWND)NULL);
}

TEST_F(SheetTest, CancelGivesIdcancelWithoutApplying) {
    ScriptedSheet sheet("Sheet", owner.Handle());
    ScriptedPage page(IDD_TEST_PAGE);
    sheet.AddPage(page);
    page.onInit = [](ScriptedPage& p) { Press(p.Sheet(), PSBTN_CANCEL); };
    EXPECT_EQ(sheet.DoModal(), IDCANCEL);
    EXPECT_EQ(page.applyCount, 0);
}

TEST_F(SheetTest, APageThatRefusesItsValuesKeepsTheSheetOpen) {
    ScriptedSheet sheet("Sheet", owner.Handle());
    ScriptedPage page(IDD_TEST_PAGE);
    sheet.AddPage(page);
    page.onInit = [](ScriptedPage& p) { Press(p.Sheet(), PSBTN_OK); };
    page.onApply = [](ScriptedPage& p) {
        Press(p.Sheet(), PSBTN_CANCEL);
        return false;
    };
    EXPECT_EQ(sheet.DoModal(), IDCANCEL);
    EXPECT_EQ(page.applyCount, 1);
}

TEST_F(SheetTest, WithoutAParentTheMainWindowOwnsTheSheet) {
    CWindow::SetMainWindow(owner.Handle());
    ScriptedSheet sheet("Settings");
    ScriptedPage page(IDD_TEST_PAGE);
    sheet.AddPage(page);
    HWND ownerOfSheet = NULL;
    page.onInit = [](ScriptedPage& p) { p.Post(WM_APP); };
    page.onApp = [&](ScriptedPage& p) {
        ownerOfSheet = GetWindow(p.Sheet(), GW_OWNER);
        Press(p.Sheet(), PSBTN_OK);
    };
    EXPECT_EQ(sheet.DoModal(), IDOK);
    CWindow::SetMainWindow(NULL);
    EXPECT_EQ(ownerOfSheet, owner.Handle());
    EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
}

TEST_F(SheetTest, TheFirstPageIndexChoosesThePageShownFirst) {
    ScriptedSheet sheet("Sheet", owner.Handle(), 1);
    ScriptedPage one(IDD_TEST_PAGE), two(IDD_TEST_PAGE_TWO);
    sheet.AddPage(one);
    sheet.AddPage(two);
    HWND twoWindow = NULL;
    two.onInit = [&](ScriptedPage& p) {
        twoWindow = p.Handle();
        Press(p.Sheet(), PSBTN_CANCEL);
    };
    EXPECT_EQ(sheet.DoModal(), IDCANCEL);
    EXPECT_NE(twoWindow, (HWND)NULL);
    EXPECT_EQ(sheet.currentPageAtInit, twoWindow);
}

struct ButtonCase {
    bool apply;
    bool sheetHelp;
    bool pageHelp;
};

class SheetButtons : public SheetTest, public testing::WithParamInterface<ButtonCase> {};

TEST_P(SheetButtons, ShowTheButtonsAskedFor) {
    const ButtonCase& c = GetParam();
    ScriptedSheet sheet("Sheet", owner.Handle());
    ScriptedPage page(IDD_TEST_PAGE);
    sheet.SetApplyButton(c.apply);
    sheet.SetHelpButton(c.sheetHelp);
    page.SetHelpButton(c.pageHelp);
    sheet.AddPage(page);
    bool ok = false, cancel = false, apply = true, help = true, contextHelp = true;
    auto visible = [](HWND sheetWindow, int id) {
        HWND button = GetDlgItem(sheetWindow, id);
        return button != NULL && IsWindowVisible(button);
    };
    page.onInit = [](ScriptedPage& p) { p.Post(WM_APP); };
    page.onApp = [&](ScriptedPage& p) {
        HWND s = p.Sheet();
        ok = visible(s, IDOK);
        cancel = visible(s, IDCANCEL);
        apply = visible(s, 0x3021);  // comctl32's Apply button
        help = visible(s, IDHELP);
        contextHelp = (GetWindowLongA(s, GWL_EXSTYLE) & WS_EX_CONTEXTHELP) ||
                      (GetWindowLongA(s, GWL_STYLE) & DS_CONTEXTHELP);
        Press(s, PSBTN_CANCEL);
    };
    EXPECT_EQ(sheet.DoModal(), IDCANCEL);
    EXPECT_TRUE(ok);
    EXPECT_TRUE(cancel);
    EXPECT_EQ(apply, c.apply);
    EXPECT_EQ(help, c.sheetHelp || c.pageHelp);
    if (!c.sheetHelp) {
        EXPECT_FALSE(contextHelp);
    }
}

INSTANTIATE_TEST_SUITE_P(Flags, SheetButtons,
                         testing::Values(ButtonCase{false, false, false},  // the settings sheet
                                         ButtonCase{true, false, false}, ButtonCase{false, true, false},
                                         ButtonCase{false, false, true}));

TEST_F(SheetTest, PagesGetTooltipsFromTheStringTable) {
    ScriptedSheet sheet("Sheet", owner.Handle());
    ScriptedPage page(IDD_TEST_PAGE);
    sheet.AddPage(page);
    int tools = -1;
    page.onInit = [&](ScriptedPage& p) {
        tools = p.ToolCount();
        Press(p.Sheet(), PSBTN_CANCEL);
    };
    sheet.DoModal();
    EXPECT_EQ(tools, 1);
}

TEST_F(SheetTest, TheSheetFadesAsAWholeWhenWindowFxIsOn) {
    for (uint32_t fx : {1u, 0u}) {
        WindowFxSetting setting(fx);
        SetFadeParameters(0, 0, 0);
        ScriptedSheet sheet("Sheet", owner.Handle());
        ScriptedPage page(IDD_TEST_PAGE);
        sheet.AddPage(page);
        bool pageLayered = true;
        page.onInit = [&](ScriptedPage& p) {
            pageLayered = (p.ExStyle() & WS_EX_LAYERED) != 0;
            Press(p.Sheet(), PSBTN_CANCEL);
        };
        EXPECT_EQ(sheet.DoModal(), IDCANCEL);
        EXPECT_EQ(sheet.layeredAtInit, fx == 1) << fx;
        EXPECT_FALSE(pageLayered);
        EXPECT_EQ(ReadFadeState().currentAlpha, fx == 1 ? 255 : 0) << fx;
    }
}

TEST_F(SheetTest, ASheetWithoutPagesIsRefused) {
    ScriptedSheet sheet("Sheet", owner.Handle());
    EXPECT_EQ(sheet.DoModal(), -1);
    EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
}

TEST_F(SheetTest, EachClassReportsItsName) {
    CMyPropertySheet mine("Sheet");
    CPropertySheet plain("Sheet");
    CMyPropertyPage myPage(IDD_TEST_PAGE);
    CPropertyPage plainPage(IDD_TEST_PAGE);
    const CWindow* windows[] = {&mine, &plain, &myPage, &plainPage};
    const char* names[] = {"CMyPropertySheet", "CPropertySheet", "CMyPropertyPage", "CPropertyPage"};
    for (int i = 0; i < 4; ++i) EXPECT_STREQ(windows[i]->ClassName(), names[i]);
}

}  // namespace
