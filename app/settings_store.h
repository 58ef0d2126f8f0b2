#pragma once
#include "app/settings.h"

class RegistryKey;

// Fills `settings` from the "Settings" key, creating the key (empty) on a fresh profile.
// Every value has its default when it is missing or unreadable. Below NT 5 the window
// effects are turned off in memory only; the stored value stays.
void LoadSettings(RegistryKey& key, const PlatformInfo& platform, Settings& settings);

// Writes every value of `settings` to the "Settings" key, changed or not.
void SaveSettings(RegistryKey& key, const Settings& settings);
