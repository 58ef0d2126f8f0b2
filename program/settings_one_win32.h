#pragma once
#include <windows.h>

#include "app/settings_choices.h"
#include "ui/my_property_page_win32.h"

class RegistryKey;
class ShellEnvironment;

// The "General" page of the settings sheet: independent check boxes for the settings and
// the two file types, and the list of retry counts beside the emergency box. Nothing
// changes until the sheet's OK.
class CSettingsOne : public CMyPropertyPage {
public:
    // Reads the settings in memory and both associations now, before the sheet shows.
    // The key and the shell serve the page's OK as well and must outlive the page.
    CSettingsOne(RegistryKey& key, ShellEnvironment& shell);

    const char* ClassName() const override { return "CSettingsOne"; }

    // The boxes as the page opened with them.
    const SettingsChoices& Opened() const { return opened_; }

protected:
    // The tooltips, the boxes; the effects box greyed where windows cannot fade.
    bool OnInitDialog() override;
    // The boxes into the settings and the registry (SaveSettings).
    bool OnApply() override;

private:
    RegistryKey& key_;
    ShellEnvironment& shell_;
    SettingsChoices boxes_;
    SettingsChoices opened_;
};
