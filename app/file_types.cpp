#include "app/file_types.h"

#include <string>

#include "app/registry_names.h"
#include "engine/image/image_kind.h"
#include "platform/registry_key.h"
#include "platform/shell_environment.h"

namespace {

struct FileType {
    const char* extension;
    const char* progId;
    const char* iconSuffix;  // the shell's index among the program file's icon groups
};

constexpr FileType kImgType{kImgExtension, kImgProgId, ",1"};
constexpr FileType kImzType{kImzExtension, kImzProgId, ",2"};

// The quoted program path, a space and the verb's arguments. Built as a string: a long
// program path must not overflow anything.
std::string Command(const char* programPath, const char* arguments) {
    return std::string("\"") + programPath + "\" " + arguments;
}

void WriteDefaultValue(RegistryKey& key, const std::string& path, const std::string& data) {
    key.Create(RegistryRoot::ClassesRoot, path.c_str());
    key.SetString(kDefaultValue, data.c_str());
    key.Close();
}

void Register(RegistryKey& key, const char* programPath, const FileType& type) {
    const std::string progId = type.progId;
    WriteDefaultValue(key, progId + kDefaultIconKey, std::string(programPath) + type.iconSuffix);
    WriteDefaultValue(key, progId + kOpenVerbKey, kOpenVerbLabel);
    WriteDefaultValue(key, progId + kOpenCommandKey, Command(programPath, kOpenVerbArguments));
    WriteDefaultValue(key, progId + kWriteVerbKey, kWriteVerbLabel);
    WriteDefaultValue(key, progId + kWriteCommandKey, Command(programPath, kWriteVerbArguments));
    WriteDefaultValue(key, type.extension, type.progId);
}

// Removes the extension's default value, which ends the association, and the extension
// key itself unless it has sub-keys (other programs' entries), which the store refuses.
void Unregister(RegistryKey& key, const FileType& type) {
    key.Create(RegistryRoot::ClassesRoot, type.extension);
    key.Delete(kDefaultValue);
    key.Close();
}

// Offers the raw image's ProgID under "Open with" for other programs' raw names. The
// extension's default value, their default program, is never written.
void OfferForOpenWith(RegistryKey& key) {
    for (const char* extension : kBareRawExtensions) {
        key.Create(RegistryRoot::ClassesRoot, (std::string(extension) + kOpenWithProgIdsKey).c_str());
        key.SetString(kImgProgId, "");
        key.Close();
    }
}

// Removes only our value: the key holds other programs' values too, and a missing key is
// left missing.
void WithdrawFromOpenWith(RegistryKey& key) {
    for (const char* extension : kBareRawExtensions) {
        if (!key.Open(RegistryRoot::ClassesRoot, (std::string(extension) + kOpenWithProgIdsKey).c_str())) {
            continue;
        }
        key.Delete(kImgProgId);
        key.Close();
    }
}

void SetRegistered(RegistryKey& key, const ShellEnvironment& shell, const FileType& type,
                   bool enable) {
    if (enable) {
        Register(key, shell.ProgramPath(), type);
    } else {
        Unregister(key, type);
    }
}

// Creating the old verb key first means the second deletion always finds something;
// "command" goes first because a key with sub-keys cannot be deleted.
void RemoveOldVerb(RegistryKey& key, const char* progId) {
    key.Create(RegistryRoot::ClassesRoot, (std::string(progId) + kOldWriteVerbKey).c_str());
    key.Delete(kCommandName);
    key.Close();
    key.Create(RegistryRoot::ClassesRoot, (std::string(progId) + kShellKey).c_str());
    key.Delete(kOldWriteVerbName);
    key.Close();
}

// The default value of an existing key, or "" when the key cannot be opened.
std::string ReadDefaultValue(RegistryKey& key, const std::string& path) {
    std::string text;
    if (!key.Open(RegistryRoot::ClassesRoot, path.c_str())) {
        return text;
    }
    key.QueryString(kDefaultValue, text, "");
    key.Close();
    return text;
}

}  // namespace

void RegisterAllTypes(RegistryKey& key, const ShellEnvironment& shell) {
    Register(key, shell.ProgramPath(), kImgType);
    Register(key, shell.ProgramPath(), kImzType);
    RemoveOldVerbs(key);
    OfferForOpenWith(key);
}

void RegisterImgType(RegistryKey& key, const ShellEnvironment& shell, bool enable) {
    SetRegistered(key, shell, kImgType, enable);
    if (enable) {
        OfferForOpenWith(key);
    } else {
        WithdrawFromOpenWith(key);
    }
}

void RegisterImzType(RegistryKey& key, const ShellEnvironment& shell, bool enable) {
    SetRegistered(key, shell, kImzType, enable);
}

void RemoveOldVerbs(RegistryKey& key) {
    RemoveOldVerb(key, kImgProgId);
    RemoveOldVerb(key, kImzProgId);
}

bool IsTypeAssociated(RegistryKey& key, const ShellEnvironment& shell, const char* extension) {
    const std::string progId = ReadDefaultValue(key, extension);
    if (progId.empty()) {
        return false;
    }
    const std::string command = ReadDefaultValue(key, progId + kOpenCommandKey);
    const char* programPath = shell.ProgramPath();
    // An empty path would be found in any command.
    return programPath[0] != '\0' && command.find(programPath) != std::string::npos;
}
