#pragma once
#include <windows.h>

#include "platform/handles_win32.h"
#include "platform/registry_key.h"

// RegistryKey over the Win32 registry. Owns at most one key handle, which Close
// releases; Create and Open release a handle still held before taking the new one, and
// the destructor closes one that is still held. Uncopyable, movable.
class SystemRegistryKey : public RegistryKey {
public:
    SystemRegistryKey() = default;
    SystemRegistryKey(const SystemRegistryKey&) = delete;
    SystemRegistryKey& operator=(const SystemRegistryKey&) = delete;
    SystemRegistryKey(SystemRegistryKey&&) noexcept = default;
    SystemRegistryKey& operator=(SystemRegistryKey&&) noexcept = default;

    int Create(RegistryRoot root, const char* path) override;
    int Open(RegistryRoot root, const char* path) override;
    int Close() override;
    int SetString(const char* name, const char* text) override;
    int SetDword(const char* name, uint32_t value) override;
    int QueryString(const char* name, std::string& text, const char* defaultText) override;
    int QueryDword(const char* name, uint32_t& value, uint32_t defaultValue) override;
    int Delete(const char* name) override;

private:
    bool SubKeyHasSubKeys(const char* name) const;

    UniqueRegistryKey key_;
};
