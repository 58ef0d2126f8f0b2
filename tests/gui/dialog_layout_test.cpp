// The main dialog and the settings page as they show under Wine: no control lies on
// another and no label or check box cuts its text.
#include <windows.h>

#include <prsht.h>

#include <gtest/gtest.h>

#include "resources/dialog_ids.h"
#include "resources/main_dialog_ids.h"
#include "tests/gui/dialog_layout.h"
#include "tests/gui/vorlix_run.h"

namespace gui {
namespace {

constexpr int kOpenBrowse = 1006;  // the main dialog's write browse button

std::string Lines(const std::vector<std::string>& faults) {
    std::string all;
    for (const std::string& fault : faults) all += "\n  " + fault;
    return all;
}

class DialogLayout : public VorlixRunTest {};

TEST_F(DialogLayout, MainDialogAndSettingsPageShowEveryControlWhole) {
    Start({});
    const HWND main = WaitForDialogWith(vorlix_.Id(), kOpenBrowse);
    ASSERT_NE(nullptr, main) << "no main dialog";
    EXPECT_EQ(std::vector<std::string>(), LayoutFaults(main)) << "main dialog:" << Lines(LayoutFaults(main));

    PostMessageA(main, WM_COMMAND, MAKEWPARAM(ID_SETTINGS, 0), 0);
    const HWND sheet = WaitForTopWindow(vorlix_.Id(), "#32770", "Settings");
    ASSERT_NE(nullptr, sheet) << "no settings sheet";
    const HWND page = PropSheet_GetCurrentPageHwnd(sheet);
    ASSERT_NE(nullptr, GetDlgItem(page, IDC_SETTINGS_RETRIES)) << "no settings page";
    const std::vector<std::string> faults = LayoutFaults(page);
    EXPECT_TRUE(faults.empty()) << "settings page:" << Lines(faults);
    PressButton(sheet, IDCANCEL);
    WaitUntilGone(sheet);
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, ExitStatus());
}

}  // namespace
}  // namespace gui
