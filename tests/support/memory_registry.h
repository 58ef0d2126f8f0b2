#pragma once
#include <stdint.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/registry_key.h"

// Stored value types, numbered as the Windows registry numbers them.
enum : uint32_t { kStoredString = 1, kStoredBinary = 3, kStoredDword = 4 };

// A registry in memory with the contract of the real one, as RegistryKey describes it:
// key and value names without regard to case, Create making parents, a key with sub-keys
// refusing deletion, the query buffers of 16,300 and 4 bytes. It records every operation
// of every MemoryRegistryKey on it, so tests can check orders.
class MemoryRegistry {
public:
    struct Value {
        uint32_t type;
        std::string bytes;
    };

    // Test set-up and inspection; these are not recorded.
    void Put(RegistryRoot root, const std::string& path, const std::string& name, uint32_t type,
             const std::string& bytes);
    void PutString(RegistryRoot root, const std::string& path, const std::string& name,
                   const std::string& text);
    void PutDword(RegistryRoot root, const std::string& path, const std::string& name,
                  uint32_t value);
    void MakeKey(RegistryRoot root, const std::string& path);
    bool HasKey(RegistryRoot root, const std::string& path) const;
    bool HasValue(RegistryRoot root, const std::string& path, const std::string& name) const;
    size_t ValueCount(RegistryRoot root, const std::string& path) const;
    // The text of a value up to its first zero byte; "" when it is missing.
    std::string StringAt(RegistryRoot root, const std::string& path, const std::string& name) const;
    // The value as a little-endian number; 0xFFFFFFFF when it is missing or not 4 bytes.
    uint32_t DwordAt(RegistryRoot root, const std::string& path, const std::string& name) const;

    // Every operation in order, such as "Create CU Software\X", "QueryDword Sound",
    // "SetString FDLetter=B:", "SetDword Sound=1", "Delete command", "Close".
    std::vector<std::string> log;

    // A registry the user may not change: Create and Open fail, so nothing is held and
    // every later operation on the key fails too.
    bool locked = false;

private:
    friend class MemoryRegistryKey;

    struct NoCaseLess {
        bool operator()(const std::string& a, const std::string& b) const;
    };
    struct Key {
        std::map<std::string, std::unique_ptr<Key>, NoCaseLess> subKeys;
        std::map<std::string, Value, NoCaseLess> values;
    };

    Key* Find(RegistryRoot root, const std::vector<std::string>& parts);
    const Key* Find(RegistryRoot root, const std::vector<std::string>& parts) const;
    Key* Make(RegistryRoot root, const std::vector<std::string>& parts);
    const Value* FindValue(RegistryRoot root, const std::string& path,
                           const std::string& name) const;

    Key currentUser_;
    Key classesRoot_;
};

// Splits "a\b\c" into its names; empty names (doubled or trailing backslashes) are
// skipped, as the real registry does.
std::vector<std::string> SplitKeyPath(const std::string& path);

class MemoryRegistryKey : public RegistryKey {
public:
    explicit MemoryRegistryKey(MemoryRegistry& registry) : registry_(registry) {}

    int Create(RegistryRoot root, const char* path) override;
    int Open(RegistryRoot root, const char* path) override;
    int Close() override;
    int SetString(const char* name, const char* text) override;
    int SetDword(const char* name, uint32_t value) override;
    int QueryString(const char* name, std::string& text, const char* defaultText) override;
    int QueryDword(const char* name, uint32_t& value, uint32_t defaultValue) override;
    int Delete(const char* name) override;

    bool IsHolding() const { return held_; }

private:
    // The held key, or nullptr when nothing is held or it has been deleted since.
    MemoryRegistry::Key* Held();
    const MemoryRegistry::Value* HeldValue(const char* name);
    int Hold(RegistryRoot root, const char* path, bool create);

    MemoryRegistry& registry_;
    bool held_ = false;
    RegistryRoot root_ = RegistryRoot::CurrentUser;
    std::vector<std::string> parts_;
};
