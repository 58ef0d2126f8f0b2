// The "Settings" sheet on its real page template, driven as a user would: a timer of the
// test finds the sheet, reads and clicks the boxes and presses OK or Cancel. The settings
// and file types land in the real registry of the Wine prefix; the association-changed
// notices are counted by a stand-in shell.
#include "program/settings_sheet_win32.h"

#include <windows.h>

#include <commctrl.h>
#include <string.h>

#include <map>
#include <string>
#include <vector>

#include "app/file_types.h"
#include "app/settings_store.h"
#include "platform/registry_key_win32.h"
#include "program/settings_one_win32.h"
#include "resources/dialog_ids.h"
#include "tests/support/fake_shell.h"
#include "tests/win32/dialog_test_support.h"
#include "tests/win32/link_test_support.h"
#include "ui/item_text_win32.h"

namespace {

using link_test::ClassesKeys;
using link_test::GetNumber;
using link_test::GetText;

const char kVorlixKey[] = "Software\\Quendal Software";
const char kSettingsPath[] = "Software\\Quendal Software\\Vorlix\\Settings";
const char kOtherCommand[] = "\"C:\\Other\\Imager.exe\" \"%1\"";
const int kBoxIds[] = {IDC_SETTINGS_USE_DRIVE_B,  IDC_SETTINGS_EMERGENCY,   IDC_SETTINGS_SUPPRESS,
                       IDC_SETTINGS_SOUND,        IDC_SETTINGS_COMPATIBLE,  IDC_SETTINGS_WINDOW_FX,
                       IDC_SETTINGS_REGISTER_IMG, IDC_SETTINGS_REGISTER_IMZ};

// What the test does in the sheet, and what it saw there.
struct SheetScript {
    std::vector<int> clicks;
    int press = PSBTN_OK;

    bool found = false;
    std::map<int, bool> checked;
    bool effectsEnabled = true;
    std::string caption, tab;
    bool ok = false, cancel = false, apply = true, help = true;
    HWND owner = NULL;
    int retriesChoice = -1;  // the retry count to pick in the list first; -1 none
    LRESULT retriesShown = CB_ERR;
    LRESULT retriesOffered = 0;
};

SheetScript* g_script = nullptr;

BOOL CALLBACK FindSheet(HWND window, LPARAM result) {
    char caption[64] = "";
    GetWindowTextA(window, caption, sizeof caption);
    if (!IsWindowVisible(window) || lstrcmpA(caption, "Settings") != 0) return TRUE;
    *reinterpret_cast<HWND*>(result) = window;
    return FALSE;
}

bool ButtonShown(HWND sheet, int id) {
    HWND button = GetDlgItem(sheet, id);
    return button != NULL && IsWindowVisible(button);
}

void CALLBACK DriveSheet(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND sheet = NULL;
    EnumThreadWindows(GetCurrentThreadId(), FindSheet, reinterpret_cast<LPARAM>(&sheet));
    if (sheet == NULL || g_script == nullptr) return;
    KillTimer(NULL, timer);
    SheetScript& script = *g_script;
    script.found = true;
    HWND page = PropSheet_GetCurrentPageHwnd(sheet);
    for (int id : kBoxIds) script.checked[id] = IsDlgButtonChecked(page, id) == BST_CHECKED;
    script.effectsEnabled = IsWindowEnabled(GetDlgItem(page, IDC_SETTINGS_WINDOW_FX)) != 0;
    script.caption = WindowText(sheet);
    char tab[64] = "";
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = tab;
    item.cchTextMax = sizeof tab;
    SendMessageA(PropSheet_GetTabControl(sheet), TCM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    script.tab = tab;
    script.ok = ButtonShown(sheet, IDOK);
    script.cancel = ButtonShown(sheet, IDCANCEL);
    script.apply = ButtonShown(sheet, 0x3021);  // comctl32's Apply button
    script.help = ButtonShown(sheet, IDHELP);
    script.owner = GetWindow(sheet, GW_OWNER);
    script.retriesShown = SendDlgItemMessageA(page, IDC_SETTINGS_RETRIES, CB_GETCURSEL, 0, 0);
    script.retriesOffered = SendDlgItemMessageA(page, IDC_SETTINGS_RETRIES, CB_GETCOUNT, 0, 0);
    if (script.retriesChoice >= 0) {
        SendDlgItemMessageA(page, IDC_SETTINGS_RETRIES, CB_SETCURSEL, script.retriesChoice, 0);
    }
    for (int id : script.clicks) SendMessageA(GetDlgItem(page, id), BM_CLICK, 0, 0);
    PostMessageA(sheet, PSM_PRESSBUTTON, script.press, 0);
}

// The six stored values, in one line for comparisons.
std::string StoredSettings() {
    std::string values = GetText(HKEY_CURRENT_USER, kSettingsPath, "FDLetter");
    for (const char* name : {"WindowFx", "Compatible", "Sound", "Emergency", "Suppress"}) {
        values += " " + std::string(name) + "=" + std::to_string(GetNumber(HKEY_CURRENT_USER, kSettingsPath, name));
    }
    return values;
}

std::string InMemory(const Settings& s) {
    return std::string(s.FDLetter) + " WindowFx=" + std::to_string(s.WindowFx) +
           " Compatible=" + std::to_string(s.Compatible) + " Sound=" + std::to_string(s.Sound) +
           " Emergency=" + std::to_string(s.Emergency) + " Suppress=" + std::to_string(s.Suppress);
}

class SettingsSheetTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        savedSettings_ = TheSettings();
        savedPlatform_ = ThePlatform();
        ThePlatform().ntMajorVersion = 5;
        link_test::DeleteTree(HKEY_CURRENT_USER, kVorlixKey);
    }
    void TearDown() override {
        CWindow::SetMainWindow(NULL);
        TheSettings() = savedSettings_;
        ThePlatform() = savedPlatform_;
        link_test::DeleteTree(HKEY_CURRENT_USER, kVorlixKey);
        DialogTest::TearDown();
    }

    // Stores the values as the program would find them and loads them as start-up does.
    void Store(const char* drive, DWORD fx, DWORD compatible, DWORD sound, DWORD emergency, DWORD suppress) {
        link_test::SetText(HKEY_CURRENT_USER, kSettingsPath, "FDLetter", drive);
        const std::pair<const char*, DWORD> numbers[] = {{"WindowFx", fx},   {"Compatible", compatible},
                                                         {"Sound", sound},   {"Emergency", emergency},
                                                         {"Suppress", suppress}};
        HKEY stored = NULL;
        ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsPath, 0, KEY_SET_VALUE, &stored), ERROR_SUCCESS);
        for (const auto& [name, value] : numbers)
            RegSetValueExA(stored, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
        RegCloseKey(stored);
        LoadSettings(key, ThePlatform(), TheSettings());
    }

    void Associate(bool imgOurs, bool imzOurs) {
        RegisterImgType(key, shell, imgOurs);
        RegisterImzType(key, shell, imzOurs);
        for (const char* extension : {".img", ".imz"}) {
            if ((extension[3] == 'g' ? imgOurs : imzOurs)) continue;
            link_test::SetText(HKEY_CLASSES_ROOT, extension, NULL, "VorlixTestOther");
        }
        link_test::SetText(HKEY_CLASSES_ROOT, "VorlixTestOther\\shell\\open\\command", NULL, kOtherCommand);
        shell.notices = 0;
    }

    // Runs a main dialog that opens the sheet from its "menu command" and records how
    // the sheet ended and whether the main dialog fades afterwards.
    int RunSheet(SheetScript& script) {
        ModalWatchdog watchdog(15000);
        ScriptedDialog main(IDD_TEST_PLAIN);
        int result = -2;
        main.onInit = [](ScriptedDialog& d) {
            CWindow::SetMainWindow(d.Handle());
            d.Post(WM_APP);
        };
        main.onApp = [&](ScriptedDialog& d, WPARAM) {
            mainWindow = d.Handle();
            mainLayeredBefore = IsLayered(d.Handle());
            g_script = &script;
            UINT_PTR timer = SetTimer(NULL, 0, 20, DriveSheet);
            result = RunSettingsSheet(d, key, shell);
            KillTimer(NULL, timer);
            g_script = nullptr;
            mainLayeredAfter = IsLayered(d.Handle());
            d.EndDialog(IDOK);
        };
        EXPECT_EQ(main.DoModal(), IDOK);
        EXPECT_TRUE(script.found) << "the sheet never showed";
        return result;
    }

    SystemRegistryKey key;
    FakeShell shell{"C:\\VorlixTest\\vorlix.exe"};
    ClassesKeys classes{{".img", ".imz", "VorlixFile", "VorlixCompressedFile", "VorlixTestOther"}};
    bool mainLayeredBefore = false, mainLayeredAfter = false;
    HWND mainWindow = NULL;

private:
    Settings savedSettings_;
    PlatformInfo savedPlatform_;
};

TEST_F(SettingsSheetTest, OpensWithTheStoredValuesAndOnlyOkAndCancel) {
    Store("b:", 1, 1, 0, 1, 0);
    Associate(true, false);
    SheetScript script;
    script.press = PSBTN_CANCEL;
    EXPECT_EQ(RunSheet(script), IDCANCEL);
    EXPECT_EQ(script.checked, (std::map<int, bool>{{IDC_SETTINGS_USE_DRIVE_B, true},
                                                   {IDC_SETTINGS_EMERGENCY, true},
                                                   {IDC_SETTINGS_SUPPRESS, false},
                                                   {IDC_SETTINGS_SOUND, false},
                                                   {IDC_SETTINGS_COMPATIBLE, true},
                                                   {IDC_SETTINGS_WINDOW_FX, true},
                                                   {IDC_SETTINGS_REGISTER_IMG, true},
                                                   {IDC_SETTINGS_REGISTER_IMZ, false}}));
    EXPECT_TRUE(script.effectsEnabled);
    EXPECT_EQ(script.caption, "Settings");
    EXPECT_EQ(script.tab, "General");
    EXPECT_TRUE(script.ok);
    EXPECT_TRUE(script.cancel);
    EXPECT_FALSE(script.apply);
    EXPECT_FALSE(script.help);
    EXPECT_EQ(script.owner, mainWindow);
}

TEST_F(SettingsSheetTest, OkWritesAllSixValuesAndOnlyTheChangedFileType) {
    Store("A:", 1, 0, 1, 0, 0);
    Associate(true, false);
    // Registering ".img" again would overwrite this.
    link_test::SetText(HKEY_CLASSES_ROOT, "VorlixFile\\DefaultIcon", NULL, "untouched");
    SheetScript script;
    script.clicks = {IDC_SETTINGS_USE_DRIVE_B, IDC_SETTINGS_SOUND, IDC_SETTINGS_SUPPRESS,
                     IDC_SETTINGS_REGISTER_IMZ};
    EXPECT_EQ(RunSheet(script), IDOK);
    EXPECT_EQ(StoredSettings(), "B: WindowFx=1 Compatible=0 Sound=0 Emergency=0 Suppress=1");
    EXPECT_EQ(InMemory(TheSettings()), "B: WindowFx=1 Compatible=0 Sound=0 Emergency=0 Suppress=1");
    EXPECT_EQ(GetText(HKEY_CLASSES_ROOT, ".imz", NULL), "VorlixCompressedFile");
    EXPECT_EQ(GetText(HKEY_CLASSES_ROOT, "VorlixCompressedFile\\Shell\\open\\command", NULL),
              "\"C:\\VorlixTest\\vorlix.exe\" \"%1\"");
    EXPECT_EQ(GetText(HKEY_CLASSES_ROOT, "VorlixFile\\DefaultIcon", NULL), "untouched");
    EXPECT_EQ(shell.notices, 1);
}

TEST_F(SettingsSheetTest, UntickingBothTypesRemovesThemWithOneNotice) {
    Store("A:", 1, 0, 1, 0, 0);
    Associate(true, true);
    SheetScript script;
    script.clicks = {IDC_SETTINGS_REGISTER_IMG, IDC_SETTINGS_REGISTER_IMZ};
    EXPECT_EQ(RunSheet(script), IDOK);
    EXPECT_EQ(GetText(HKEY_CLASSES_ROOT, ".img", NULL), "<missing>");
    EXPECT_EQ(GetText(HKEY_CLASSES_ROOT, ".imz", NULL), "<missing>");
    EXPECT_EQ(shell.notices, 1);
}

TEST_F(SettingsSheetTest, OkWithoutChangesRewritesEveryValueAndLeavesTheTypes) {
    Store("a:", 1, 0, 1, 0, 0);
    Associate(false, true);
    HKEY stored = NULL;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsPath, 0, KEY_SET_VALUE, &stored), ERROR_SUCCESS);
    RegDeleteValueA(stored, "Sound");
    RegDeleteValueA(stored, "Suppress");
    RegCloseKey(stored);
    SheetScript script;
    EXPECT_EQ(RunSheet(script), IDOK);
    EXPECT_FALSE(script.checked[IDC_SETTINGS_USE_DRIVE_B]);
    EXPECT_EQ(StoredSettings(), "A: WindowFx=1 Compatible=0 Sound=1 Emergency=0 Suppress=0");
    EXPECT_EQ(GetText(HKEY_CLASSES_ROOT, ".img", NULL), "VorlixTestOther");
    EXPECT_EQ(shell.notices, 0);
}

TEST_F(SettingsSheetTest, CancelChangesNeitherTheRegistryNorTheSettings) {
    Store("A:", 1, 0, 1, 0, 0);
    Associate(true, false);
    const std::string stored = StoredSettings();
    const std::string inMemory = InMemory(TheSettings());
    SheetScript script;
    script.clicks = {IDC_SETTINGS_USE_DRIVE_B, IDC_SETTINGS_EMERGENCY, IDC_SETTINGS_COMPATIBLE,
                     IDC_SETTINGS_REGISTER_IMG, IDC_SETTINGS_REGISTER_IMZ};
    script.press = PSBTN_CANCEL;
    EXPECT_EQ(RunSheet(script), IDCANCEL);
    EXPECT_EQ(StoredSettings(), stored);
    EXPECT_EQ(InMemory(TheSettings()), inMemory);
    EXPECT_EQ(GetText(HKEY_CLASSES_ROOT, ".img", NULL), "VorlixFile");
    EXPECT_EQ(GetText(HKEY_CLASSES_ROOT, ".imz", NULL), "VorlixTestOther");
    EXPECT_EQ(shell.notices, 0);
}

TEST_F(SettingsSheetTest, BelowNt5TheEffectsBoxIsGreyedAndOkStoresThemOff) {
    ThePlatform().ntMajorVersion = 4;
    Store("A:", 1, 0, 1, 0, 0);
    Associate(false, false);
    SheetScript script;
    EXPECT_EQ(RunSheet(script), IDOK);
    EXPECT_FALSE(script.effectsEnabled);
    EXPECT_FALSE(script.checked[IDC_SETTINGS_WINDOW_FX]);
    EXPECT_EQ(GetNumber(HKEY_CURRENT_USER, kSettingsPath, "WindowFx"), 0u);
    EXPECT_FALSE(mainLayeredAfter);
}

struct EffectsCase {
    const char* name;
    DWORD stored;
    bool click;
    int press;
    bool layeredAfter;
};

class MainDialogEffects : public SettingsSheetTest, public testing::WithParamInterface<EffectsCase> {};

TEST_P(MainDialogEffects, FollowTheSettingWhicheverButtonClosedTheSheet) {
    const EffectsCase& c = GetParam();
    Store("A:", c.stored, 0, 1, 0, 0);
    Associate(false, false);
    SheetScript script;
    if (c.click) script.clicks = {IDC_SETTINGS_WINDOW_FX};
    script.press = c.press;
    RunSheet(script);
    EXPECT_EQ(mainLayeredBefore, c.stored == 1);
    EXPECT_EQ(mainLayeredAfter, c.layeredAfter);
    EXPECT_EQ(TheSettings().WindowFx, c.layeredAfter ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, MainDialogEffects,
    testing::Values(EffectsCase{"OffByOk", 1, true, PSBTN_OK, false},
                    EffectsCase{"OnByOk", 0, true, PSBTN_OK, true},
                    EffectsCase{"StaysOnAfterCancel", 1, true, PSBTN_CANCEL, true},
                    EffectsCase{"StaysOffAfterCancel", 0, true, PSBTN_CANCEL, false}),
    [](const testing::TestParamInfo<EffectsCase>& param) { return std::string(param.param.name); });

TEST_F(SettingsSheetTest, ThePageReadsTheTypesWhenItIsMade) {
    Associate(true, false);
    CSettingsOne page(key, shell);
    EXPECT_EQ(page.Opened().registerImg, 1);
    EXPECT_EQ(page.Opened().registerImz, 0);
    EXPECT_STREQ(page.ClassName(), "CSettingsOne");
}

}  // namespace

namespace {

// The page's tooltips come from the strings with the boxes' IDs; a box without one would
// silently lose its tip.
TEST(SettingsPageTips, EveryBoxHasItsTooltipText) {
    for (int id : kBoxIds) {
        char text[512] = "";
        EXPECT_GT(LoadStringA(GetModuleHandleA(NULL), id, text, sizeof text), 0) << id;
    }
    char text[512] = "";
    LoadStringA(GetModuleHandleA(NULL), IDC_SETTINGS_USE_DRIVE_B, text, sizeof text);
    EXPECT_STREQ(text, "Use the B: floppy drive instead of A: which is the default.");
}

// The retry count beside the emergency box: the list offers 0 to 20, opens on the stored
// count, and OK stores the one picked; Cancel keeps the old one.
TEST_F(SettingsSheetTest, RetriesListShowsTheStoredCountAndOkStoresThePickedOne) {
    Store("A:", 1, 0, 1, 1, 0);
    const DWORD seven = 7;
    HKEY stored = NULL;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsPath, 0, KEY_SET_VALUE, &stored), ERROR_SUCCESS);
    RegSetValueExA(stored, "Retries", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&seven), sizeof seven);
    RegCloseKey(stored);
    LoadSettings(key, ThePlatform(), TheSettings());
    Associate(true, true);

    SheetScript cancelled;
    cancelled.retriesChoice = 20;
    cancelled.press = PSBTN_CANCEL;
    EXPECT_EQ(RunSheet(cancelled), IDCANCEL);
    EXPECT_EQ(cancelled.retriesShown, 7);
    EXPECT_EQ(cancelled.retriesOffered, 21);
    EXPECT_EQ(GetNumber(HKEY_CURRENT_USER, kSettingsPath, "Retries"), 7u);
    EXPECT_EQ(TheSettings().Retries, 7u);

    SheetScript picked;
    picked.retriesChoice = 12;
    EXPECT_EQ(RunSheet(picked), IDOK);
    EXPECT_EQ(GetNumber(HKEY_CURRENT_USER, kSettingsPath, "Retries"), 12u);
    EXPECT_EQ(TheSettings().Retries, 12u);
}

}  // namespace
