#include "app/version_check.h"

#include <string>

#include "app/file_types.h"
#include "app/registry_names.h"
#include "app/version.h"
#include "platform/registry_key.h"
#include "platform/shell_environment.h"
#include "platform/user_message.h"
#include "resources/string_ids.h"

namespace {

std::string InstalledVersion(RegistryKey& key) {
    std::string version;
    key.Create(RegistryRoot::CurrentUser, kInfoKeyPath);
    key.QueryString(kVersionValue, version, "0");
    key.Close();
    return version;
}

void StoreVersion(RegistryKey& key) {
    key.Create(RegistryRoot::CurrentUser, kInfoKeyPath);
    key.SetString(kVersionValue, kProgramVersion);
    key.Close();
}

}  // namespace

void CheckInstalledVersion(RegistryKey& key, ShellEnvironment& shell, MessageSink& sink) {
    if (InstalledVersion(key) == kProgramVersion) {
        return;
    }
    const MessageAnswer answer = sink.Show({IDS_ASK_REGISTER_TYPES, MessageStyle::Question});
    if (answer == MessageAnswer::No) {
        StoreVersion(key);
        return;
    }
    RegisterAllTypes(key, shell);
    StoreVersion(key);
    shell.AssociationsChanged();
}
