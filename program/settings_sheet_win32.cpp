#include "program/settings_sheet_win32.h"

#include "app/settings.h"
#include "program/settings_one_win32.h"
#include "ui/my_dialog_win32.h"
#include "ui/my_property_sheet_win32.h"

int RunSettingsSheet(CMyDialog& mainDialog, RegistryKey& key, ShellEnvironment& shell) {
    CMyPropertySheet sheet("Settings", NULL, 0);
    CSettingsOne page(key, shell);
    page.SetHelpButton(false);
    sheet.SetHelpButton(false);
    sheet.SetApplyButton(false);
    sheet.AddPage(page);
    const int result = sheet.DoModal();

    if (TheSettings().WindowFx) {
        mainDialog.EnableWindowFx();
    } else {
        mainDialog.DisableWindowFx();
    }
    return result;
}
