#include "platform/registry_key_win32.h"

#include <string.h>

#include <vector>

namespace {

HKEY RootKey(RegistryRoot root) {
    return root == RegistryRoot::ClassesRoot ? HKEY_CLASSES_ROOT : HKEY_CURRENT_USER;
}

}  // namespace

int SystemRegistryKey::Create(RegistryRoot root, const char* path) {
    HKEY key = nullptr;
    const LONG result = RegCreateKeyExA(RootKey(root), path, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                        KEY_ALL_ACCESS, nullptr, &key, nullptr);
    key_.Reset(result == ERROR_SUCCESS ? key : nullptr);
    return key_ ? 1 : 0;
}

int SystemRegistryKey::Open(RegistryRoot root, const char* path) {
    HKEY key = nullptr;
    const LONG result = RegOpenKeyExA(RootKey(root), path, 0, KEY_ALL_ACCESS, &key);
    key_.Reset(result == ERROR_SUCCESS ? key : nullptr);
    return key_ ? 1 : 0;
}

int SystemRegistryKey::Close() {
    return key_.Close() ? 1 : 0;
}

int SystemRegistryKey::SetString(const char* name, const char* text) {
    if (!key_) {
        return 0;
    }
    const DWORD size = static_cast<DWORD>(strlen(text) + 1);
    return RegSetValueExA(key_.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), size) ==
                   ERROR_SUCCESS
               ? 1
               : 0;
}

int SystemRegistryKey::SetDword(const char* name, uint32_t value) {
    if (!key_) {
        return 0;
    }
    const DWORD data = value;
    return RegSetValueExA(key_.Get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                          sizeof data) == ERROR_SUCCESS
               ? 1
               : 0;
}

int SystemRegistryKey::QueryString(const char* name, std::string& text, const char* defaultText) {
    std::vector<char> buffer(kQueryStringBufferSize);
    DWORD size = kQueryStringBufferSize;
    if (!key_ ||
        RegQueryValueExA(key_.Get(), name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()),
                         &size) != ERROR_SUCCESS) {
        text = defaultText;
        return 0;
    }
    // Data written by someone else need not end in a zero byte: stop at the size read.
    const void* zero = memchr(buffer.data(), '\0', size);
    text.assign(buffer.data(),
                zero != nullptr ? static_cast<const char*>(zero) - buffer.data() : size);
    return 1;
}

int SystemRegistryKey::QueryDword(const char* name, uint32_t& value, uint32_t defaultValue) {
    // A shorter value (a one-character string, say) is read successfully into the low
    // bytes; the rest must not be left as whatever was there.
    BYTE bytes[4] = {0, 0, 0, 0};
    DWORD size = sizeof bytes;
    if (!key_ ||
        RegQueryValueExA(key_.Get(), name, nullptr, nullptr, bytes, &size) != ERROR_SUCCESS) {
        value = defaultValue;
        return 0;
    }
    value = static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
            static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
    return 1;
}

// Windows 9x deletes a key together with everything below it; NT refuses while it has
// sub-keys. Refusing everywhere keeps other programs' keys (".img\ShellNew" and the
// like) safe when we unregister.
bool SystemRegistryKey::SubKeyHasSubKeys(const char* name) const {
    UniqueRegistryKey subKey;
    if (RegOpenKeyExA(key_.Get(), name, 0, KEY_READ, subKey.Receive()) != ERROR_SUCCESS) {
        return false;  // nothing to protect; the deletion fails by itself
    }
    DWORD subKeys = 0;
    const LONG result = RegQueryInfoKeyA(subKey.Get(), nullptr, nullptr, nullptr, &subKeys, nullptr,
                                         nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    return result != ERROR_SUCCESS || subKeys != 0;
}

int SystemRegistryKey::Delete(const char* name) {
    if (!key_) {
        return 0;
    }
    RegDeleteValueA(key_.Get(), name);
    if (SubKeyHasSubKeys(name)) {
        return 0;
    }
    return RegDeleteKeyA(key_.Get(), name) == ERROR_SUCCESS ? 1 : 0;
}
