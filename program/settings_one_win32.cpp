#include "program/settings_one_win32.h"

#include <stdio.h>

#include "app/settings.h"
#include "engine/job/read_retries.h"
#include "resources/dialog_ids.h"

namespace {

struct Box {
    int id;
    int SettingsChoices::*member;
};

constexpr Box kBoxes[] = {
    {IDC_SETTINGS_USE_DRIVE_B, &SettingsChoices::useDriveB},
    {IDC_SETTINGS_EMERGENCY, &SettingsChoices::emergency},
    {IDC_SETTINGS_SUPPRESS, &SettingsChoices::suppress},
    {IDC_SETTINGS_SOUND, &SettingsChoices::sound},
    {IDC_SETTINGS_COMPATIBLE, &SettingsChoices::compatible},
    {IDC_SETTINGS_WINDOW_FX, &SettingsChoices::windowFx},
    {IDC_SETTINGS_VERIFY, &SettingsChoices::verify},
    {IDC_SETTINGS_WRITE_LOG, &SettingsChoices::writeLog},
    {IDC_SETTINGS_REGISTER_IMG, &SettingsChoices::registerImg},
    {IDC_SETTINGS_REGISTER_IMZ, &SettingsChoices::registerImz},
};

// Layered windows, which the fading needs, came with Windows 2000.
const uint32_t kFirstFadingNtVersion = 5;

}  // namespace

CSettingsOne::CSettingsOne(RegistryKey& key, ShellEnvironment& shell)
    : CMyPropertyPage(IDD_SETTINGS_GENERAL), key_(key), shell_(shell) {
    boxes_ = ReadSettingsChoices(TheSettings(), key_, shell_);
    opened_ = boxes_;
}

bool CSettingsOne::OnInitDialog() {
    CMyPropertyPage::OnInitDialog();
    for (const Box& box : kBoxes) CheckItem(box.id, boxes_.*box.member != 0);
    // The list offers only the counts the setting takes: there is nothing to mistype.
    for (uint32_t count = 0; ReadRetriesInRange(count); ++count) {
        char text[4];
        sprintf(text, "%u", static_cast<unsigned>(count));
        SendItem(IDC_SETTINGS_RETRIES, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    SendItem(IDC_SETTINGS_RETRIES, CB_SETCURSEL, static_cast<WPARAM>(boxes_.retries));
    if (ThePlatform().ntMajorVersion < kFirstFadingNtVersion) EnableItem(IDC_SETTINGS_WINDOW_FX, false);
    return true;
}

bool CSettingsOne::OnApply() {
    for (const Box& box : kBoxes) boxes_.*box.member = IsItemChecked(box.id) ? 1 : 0;
    const LRESULT retries = SendItem(IDC_SETTINGS_RETRIES, CB_GETCURSEL);
    if (retries != CB_ERR) boxes_.retries = static_cast<int>(retries);
    ApplySettingsChoices(boxes_, opened_, TheSettings(), key_, shell_);
    return CMyPropertyPage::OnApply();
}
