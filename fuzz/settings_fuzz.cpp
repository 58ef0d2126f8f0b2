// Everything the program reads from the registry at start-up, from a registry that holds
// values of any type and size under its names (a hand-edited or damaged profile): the
// settings, the window position, the stored version and the file types it then checks.
// The settings come out in their ranges whatever was stored.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "app/file_types.h"
#include "app/registry_names.h"
#include "app/settings_store.h"
#include "app/version_check.h"
#include "app/window_position.h"
#include "platform/user_message.h"
#include "tests/support/fake_shell.h"
#include "tests/support/memory_registry.h"

namespace {

struct Place {
    RegistryRoot root;
    const char* path;
    const char* name;
};

const Place kPlaces[] = {
    {RegistryRoot::CurrentUser, kSettingsKeyPath, kFDLetterValue},
    {RegistryRoot::CurrentUser, kSettingsKeyPath, kWindowFxValue},
    {RegistryRoot::CurrentUser, kSettingsKeyPath, kCompatibleValue},
    {RegistryRoot::CurrentUser, kSettingsKeyPath, kSoundValue},
    {RegistryRoot::CurrentUser, kSettingsKeyPath, kEmergencyValue},
    {RegistryRoot::CurrentUser, kSettingsKeyPath, kSuppressValue},
    {RegistryRoot::CurrentUser, kSettingsKeyPath, kVerifyValue},
    {RegistryRoot::CurrentUser, kInitKeyPath, kHorizPosValue},
    {RegistryRoot::CurrentUser, kInitKeyPath, kVertPosValue},
    {RegistryRoot::CurrentUser, kInfoKeyPath, kVersionValue},
    {RegistryRoot::ClassesRoot, kImgExtension, kDefaultValue},
    {RegistryRoot::ClassesRoot, kImzExtension, kDefaultValue},
    {RegistryRoot::ClassesRoot, "VorlixFile\\Shell\\open\\command", kDefaultValue},
};
constexpr size_t kPlaceCount = sizeof kPlaces / sizeof kPlaces[0];

class AnswerNo final : public MessageSink {
public:
    MessageAnswer Show(const UserMessage&) override { return MessageAnswer::No; }
};

bool IsSwitchValue(uint32_t value) { return value == 0 || value == 1; }

}  // namespace

// Records: one byte for the place, one for the type, two for the length (little endian,
// up to 20,000 bytes, beyond the 16,300 of a string query), then the bytes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MemoryRegistry registry;
    size_t at = 0;
    while (at + 4 <= size) {
        const Place& place = kPlaces[data[at] % kPlaceCount];
        const uint32_t type = data[at + 1];
        size_t length = (data[at + 2] | (data[at + 3] << 8)) % 20001;
        at += 4;
        length = length < size - at ? length : size - at;
        registry.Put(place.root, place.path, place.name, type,
                     std::string(reinterpret_cast<const char*>(data + at), length));
        at += length;
    }

    MemoryRegistryKey key(registry);
    for (uint32_t ntMajor : {0u, 4u, 5u}) {
        Settings settings;
        PlatformInfo platform;
        platform.ntMajorVersion = ntMajor;
        LoadSettings(key, platform, settings);
        if (!IsSwitchValue(settings.Sound) || !IsSwitchValue(settings.Suppress) ||
            !IsSwitchValue(settings.Emergency) || !IsSwitchValue(settings.Verify) ||
            !IsSwitchValue(settings.Compatible) || !IsSwitchValue(settings.WindowFx) ||
            (ntMajor < 5 && settings.WindowFx != 0)) {
            abort();
        }
        if (strcmp(settings.FDLetter, "A:") != 0 && strcmp(settings.FDLetter, "B:") != 0) {
            abort();
        }
    }
    const std::optional<WindowCorner> corner = ReadWindowPosition(key);
    if (corner && (corner->left == 0 || corner->top == 0)) {
        abort();
    }
    FakeShell shell;
    (void)IsTypeAssociated(key, shell, kImgExtension);
    (void)IsTypeAssociated(key, shell, kImzExtension);
    AnswerNo sink;
    CheckInstalledVersion(key, shell, sink);
    return 0;
}
