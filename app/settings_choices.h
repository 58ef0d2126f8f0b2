#pragma once
#include "app/settings.h"

class RegistryKey;
class ShellEnvironment;

// The settings page's ten check boxes, each 0 or 1, apart from the window that shows
// them. The page opens with what ReadSettingsChoices finds and, on OK, hands what the
// user left ticked to ApplySettingsChoices together with what it opened with.
struct SettingsChoices {
    int useDriveB = 0;
    int emergency = 0;
    int suppress = 0;
    int sound = 0;
    int compatible = 0;
    int windowFx = 0;
    int verify = 0;       // read a written disk back and compare
    int writeLog = 0;     // "<image>.log" beside each image read
    int retries = 0;      // beside the emergency box: 0 to 20, not a check box
    int registerImg = 0;  // ".img" opens with this program
    int registerImz = 0;  // ".imz" opens with this program
};

// The boxes for the settings in memory and for the two associations as the shell's
// registry has them now.
SettingsChoices ReadSettingsChoices(const Settings& settings, RegistryKey& key,
                                    const ShellEnvironment& shell);

// The page's OK: copies the boxes into `settings`, writes every value of the "Settings"
// key, registers or unregisters only the file types whose box the user changed, and then
// tells the shell once if either was touched. Registry failures go unreported; the
// settings in memory hold the new values regardless.
void ApplySettingsChoices(const SettingsChoices& boxes, const SettingsChoices& opened,
                          Settings& settings, RegistryKey& key, ShellEnvironment& shell);
