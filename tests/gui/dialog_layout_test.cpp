// The main dialog, the settings page and the progress window as they show under Wine:
// no control lies on another and no label or check box cuts its text.
#include <windows.h>

#include <prsht.h>
#include <string.h>

#include <gtest/gtest.h>

#include "resources/dialog_ids.h"
#include "resources/main_dialog_ids.h"
#include "resources/string_ids.h"
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

// A string-table text with its values in place, as the program fills it.
std::string Filled(unsigned id, const char* text, unsigned number) {
    char format[256] = "";
    char filled[512] = "";
    LoadStringA(GetModuleHandleA(NULL), id, format, sizeof format);
    const char* count = strstr(format, "%d");
    const char* word = strstr(format, "%s");
    if (count != nullptr && (word == nullptr || count < word)) {
        wsprintfA(filled, format, number, text);
    } else {
        wsprintfA(filled, format, text, number);
    }
    return filled;
}

class DialogLayout : public VorlixRunTest {};

TEST_F(DialogLayout, MainDialogAndSettingsPageShowEveryControlWhole) {
    Start({});
    const HWND main = WaitForDialogWith(vorlix_.Id(), kOpenBrowse);
    ASSERT_NE(nullptr, main) << "no main dialog";
    const std::vector<std::string> mainFaults = LayoutFaults(main);
    EXPECT_TRUE(mainFaults.empty()) << "main dialog:" << Lines(mainFaults);

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

namespace gui {
namespace {

// The longest lines a job can show: the largest format, every sector of it bad, a speed
// of four digits.
TEST_F(DialogLayout, ProgressDialogHoldsItsLongestLines) {
    RequireJobs();
    if (IsSkipped()) return;
    ASSERT_EQ(0, InsertDisk(SampleDisk("sample", 1440)));
    {
        UnitPause pause("50");
        StartSlowFloppy({"/r", Image("watched.img"), "/f"});
    }
    const HWND progress = WaitForDialogWith(vorlix_.Id(), IDC_PROGRESS_STATUS);
    ASSERT_NE(nullptr, progress) << "no progress dialog";
    const struct {
        int control;
        std::string text;
    } kLines[] = {
        {IDC_PROGRESS_STATUS, Filled(IDS_READING_FLOPPY_BAD_SECTORS, "1680 kB", 3360)},
        {IDC_PROGRESS_STATUS, Filled(IDS_VERIFYING_FLOPPY, "1680 kB", 0)},
        {IDC_PROGRESS_COUNT, Filled(IDS_KB_COPIED, "1234.5", 1680)},
    };
    for (const auto& line : kLines) {
        EXPECT_TRUE(LabelHolds(GetDlgItem(progress, line.control), line.text)) << line.text;
    }
    ASSERT_TRUE(PressButton(progress, IDCANCEL));
    ASSERT_TRUE(Answer(ExpectMessage(IDS_OPERATION_CANCELLED, "", kJobMs), IDOK));
    EXPECT_EQ(2u, ExitStatus());
}

}  // namespace
}  // namespace gui
