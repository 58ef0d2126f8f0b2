#include "app/settings_store.h"

#include <string>

#include "app/registry_names.h"
#include "engine/image/ascii_text.h"
#include "engine/job/read_retries.h"
#include "platform/registry_key.h"

namespace {

constexpr char kWriteLogValue[] = "WriteLog";

uint32_t QuerySwitch(RegistryKey& key, const char* name, uint32_t defaultValue) {
    uint32_t value = defaultValue;
    key.QueryDword(name, value, defaultValue);
    return value != 0 ? 1 : 0;
}

// A count outside 0-20 (a hand edit, or a text read as a number) is no choice the
// page offers: the default stands in for it.
uint32_t QueryRetries(RegistryKey& key, uint32_t defaultValue) {
    uint32_t value = defaultValue;
    if (!key.QueryDword(kRetriesValue, value, defaultValue) || !ReadRetriesInRange(value)) {
        return defaultValue;
    }
    return value;
}

// Only 1 turns the log on: a value the page never writes is no choice the user made.
uint32_t QueryWriteLog(RegistryKey& key) {
    uint32_t value = 0;
    return key.QueryDword(kWriteLogValue, value, 0) && value == 1 ? 1 : 0;
}

bool IsDriveB(const char* text) {
    return EqualsIgnoringCase(text, "B:");
}

}  // namespace

void LoadSettings(RegistryKey& key, const PlatformInfo& platform, Settings& settings) {
    const Settings defaults;
    key.Create(RegistryRoot::CurrentUser, kSettingsKeyPath);
    settings.Suppress = QuerySwitch(key, kSuppressValue, defaults.Suppress);
    settings.Emergency = QuerySwitch(key, kEmergencyValue, defaults.Emergency);
    settings.Sound = QuerySwitch(key, kSoundValue, defaults.Sound);
    settings.Compatible = QuerySwitch(key, kCompatibleValue, defaults.Compatible);
    settings.WindowFx = QuerySwitch(key, kWindowFxValue, defaults.WindowFx);
    std::string drive;
    key.QueryString(kFDLetterValue, drive, defaults.FDLetter);
    settings.Verify = QuerySwitch(key, kVerifyValue, defaults.Verify);
    settings.Retries = QueryRetries(key, defaults.Retries);
    settings.WriteLog = QueryWriteLog(key);
    key.Close();

    // The drive text goes straight into "\\.\X:" for raw sector access, so anything but
    // the two floppy drives (a hand-edited "C:" would be the hard disk) falls back to A:.
    SelectDrive(settings, IsDriveB(drive.c_str()));
    if (platform.ntMajorVersion < 5) {
        settings.WindowFx = 0;  // no layered windows before Windows 2000
    }
}

void SaveSettings(RegistryKey& key, const Settings& settings) {
    key.Create(RegistryRoot::CurrentUser, kSettingsKeyPath);
    key.SetDword(kEmergencyValue, settings.Emergency != 0 ? 1 : 0);
    key.SetDword(kSoundValue, settings.Sound != 0 ? 1 : 0);
    key.SetDword(kCompatibleValue, settings.Compatible != 0 ? 1 : 0);
    key.SetDword(kWindowFxValue, settings.WindowFx != 0 ? 1 : 0);
    key.SetDword(kSuppressValue, settings.Suppress != 0 ? 1 : 0);
    key.SetString(kFDLetterValue, IsDriveB(settings.FDLetter) ? "B:" : "A:");
    key.SetDword(kVerifyValue, settings.Verify != 0 ? 1 : 0);
    key.SetDword(kRetriesValue, ReadRetriesOrDefault(settings.Retries));
    key.SetDword(kWriteLogValue, settings.WriteLog == 1 ? 1 : 0);
    key.Close();
}
