#include "app/settings_choices.h"

#include "app/file_types.h"
#include "app/registry_names.h"
#include "app/settings_store.h"
#include "engine/image/ascii_text.h"
#include "engine/job/read_retries.h"
#include "platform/shell_environment.h"

namespace {

int Box(uint32_t value) {
    return value != 0 ? 1 : 0;
}

}  // namespace

SettingsChoices ReadSettingsChoices(const Settings& settings, RegistryKey& key,
                                    const ShellEnvironment& shell) {
    SettingsChoices boxes;
    boxes.useDriveB = EqualsIgnoringCase(settings.FDLetter, "A:") ? 0 : 1;
    boxes.emergency = Box(settings.Emergency);
    boxes.suppress = Box(settings.Suppress);
    boxes.sound = Box(settings.Sound);
    boxes.compatible = Box(settings.Compatible);
    boxes.windowFx = Box(settings.WindowFx);
    boxes.verify = Box(settings.Verify);
    boxes.writeLog = Box(settings.WriteLog);
    boxes.retries = static_cast<int>(settings.Retries);
    boxes.registerImg = IsTypeAssociated(key, shell, kImgExtension) ? 1 : 0;
    boxes.registerImz = IsTypeAssociated(key, shell, kImzExtension) ? 1 : 0;
    return boxes;
}

void ApplySettingsChoices(const SettingsChoices& boxes, const SettingsChoices& opened,
                          Settings& settings, RegistryKey& key, ShellEnvironment& shell) {
    settings.Emergency = Box(boxes.emergency);
    settings.Sound = Box(boxes.sound);
    settings.Compatible = Box(boxes.compatible);
    settings.WindowFx = Box(boxes.windowFx);
    settings.Suppress = Box(boxes.suppress);
    settings.Verify = Box(boxes.verify);
    settings.WriteLog = static_cast<uint32_t>(Box(boxes.writeLog));
    settings.Retries = ReadRetriesOrDefault(boxes.retries);
    SelectDrive(settings, boxes.useDriveB != 0);
    SaveSettings(key, settings);

    // Registering a type that is already ours, or removing one that belongs to another
    // program, would change what the user did not ask to change.
    const bool imgChanged = Box(boxes.registerImg) != Box(opened.registerImg);
    const bool imzChanged = Box(boxes.registerImz) != Box(opened.registerImz);
    if (imgChanged) RegisterImgType(key, shell, boxes.registerImg != 0);
    if (imzChanged) RegisterImzType(key, shell, boxes.registerImz != 0);
    if (imgChanged || imzChanged) shell.AssociationsChanged();
}
