#include "tests/support/memory_registry.h"

namespace {

const char* RootName(RegistryRoot root) {
    return root == RegistryRoot::ClassesRoot ? "CR" : "CU";
}

std::string DwordBytes(uint32_t value) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
    return bytes;
}

uint32_t LittleEndian(const std::string& bytes) {
    uint32_t value = 0;
    for (size_t i = 0; i < bytes.size() && i < 4; ++i) {
        value |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[i])) << (8 * i);
    }
    return value;
}

std::string TextOf(const std::string& bytes) {
    return bytes.substr(0, bytes.find('\0'));
}

}  // namespace

std::vector<std::string> SplitKeyPath(const std::string& path) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('\\', start);
        if (end == std::string::npos) {
            end = path.size();
        }
        if (end > start) {
            parts.push_back(path.substr(start, end - start));
        }
        start = end + 1;
    }
    return parts;
}

bool MemoryRegistry::NoCaseLess::operator()(const std::string& a, const std::string& b) const {
    const auto lower = [](char c) {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
    };
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
        if (lower(a[i]) != lower(b[i])) {
            return static_cast<unsigned char>(lower(a[i])) <
                   static_cast<unsigned char>(lower(b[i]));
        }
    }
    return a.size() < b.size();
}

MemoryRegistry::Key* MemoryRegistry::Find(RegistryRoot root,
                                          const std::vector<std::string>& parts) {
    return const_cast<Key*>(static_cast<const MemoryRegistry*>(this)->Find(root, parts));
}

const MemoryRegistry::Key* MemoryRegistry::Find(RegistryRoot root,
                                                const std::vector<std::string>& parts) const {
    const Key* key = root == RegistryRoot::ClassesRoot ? &classesRoot_ : &currentUser_;
    for (const std::string& part : parts) {
        auto found = key->subKeys.find(part);
        if (found == key->subKeys.end()) {
            return nullptr;
        }
        key = found->second.get();
    }
    return key;
}

MemoryRegistry::Key* MemoryRegistry::Make(RegistryRoot root,
                                          const std::vector<std::string>& parts) {
    Key* key = root == RegistryRoot::ClassesRoot ? &classesRoot_ : &currentUser_;
    for (const std::string& part : parts) {
        std::unique_ptr<Key>& child = key->subKeys[part];
        if (!child) {
            child = std::make_unique<Key>();
        }
        key = child.get();
    }
    return key;
}

const MemoryRegistry::Value* MemoryRegistry::FindValue(RegistryRoot root, const std::string& path,
                                                       const std::string& name) const {
    const Key* key = Find(root, SplitKeyPath(path));
    if (key == nullptr) {
        return nullptr;
    }
    auto found = key->values.find(name);
    return found == key->values.end() ? nullptr : &found->second;
}

void MemoryRegistry::Put(RegistryRoot root, const std::string& path, const std::string& name,
                         uint32_t type, const std::string& bytes) {
    Make(root, SplitKeyPath(path))->values[name] = Value{type, bytes};
}

void MemoryRegistry::PutString(RegistryRoot root, const std::string& path, const std::string& name,
                               const std::string& text) {
    Put(root, path, name, kStoredString, text + '\0');
}

void MemoryRegistry::PutDword(RegistryRoot root, const std::string& path, const std::string& name,
                              uint32_t value) {
    Put(root, path, name, kStoredDword, DwordBytes(value));
}

void MemoryRegistry::MakeKey(RegistryRoot root, const std::string& path) {
    Make(root, SplitKeyPath(path));
}

bool MemoryRegistry::HasKey(RegistryRoot root, const std::string& path) const {
    return Find(root, SplitKeyPath(path)) != nullptr;
}

bool MemoryRegistry::HasValue(RegistryRoot root, const std::string& path,
                              const std::string& name) const {
    return FindValue(root, path, name) != nullptr;
}

size_t MemoryRegistry::ValueCount(RegistryRoot root, const std::string& path) const {
    const Key* key = Find(root, SplitKeyPath(path));
    return key == nullptr ? 0 : key->values.size();
}

std::string MemoryRegistry::StringAt(RegistryRoot root, const std::string& path,
                                     const std::string& name) const {
    const Value* value = FindValue(root, path, name);
    return value == nullptr ? std::string() : TextOf(value->bytes);
}

uint32_t MemoryRegistry::DwordAt(RegistryRoot root, const std::string& path,
                                 const std::string& name) const {
    const Value* value = FindValue(root, path, name);
    return value == nullptr || value->bytes.size() != 4 ? 0xFFFFFFFFu : LittleEndian(value->bytes);
}

MemoryRegistry::Key* MemoryRegistryKey::Held() {
    return held_ ? registry_.Find(root_, parts_) : nullptr;
}

const MemoryRegistry::Value* MemoryRegistryKey::HeldValue(const char* name) {
    MemoryRegistry::Key* key = Held();
    if (key == nullptr) {
        return nullptr;
    }
    auto found = key->values.find(name);
    return found == key->values.end() ? nullptr : &found->second;
}

int MemoryRegistryKey::Hold(RegistryRoot root, const char* path, bool create) {
    registry_.log.push_back(std::string(create ? "Create " : "Open ") + RootName(root) + " " +
                            path);
    held_ = false;
    if (registry_.locked) {
        return 0;
    }
    const std::vector<std::string> parts = SplitKeyPath(path);
    if (create) {
        registry_.Make(root, parts);
    } else if (registry_.Find(root, parts) == nullptr) {
        return 0;
    }
    held_ = true;
    root_ = root;
    parts_ = parts;
    return 1;
}

int MemoryRegistryKey::Create(RegistryRoot root, const char* path) {
    return Hold(root, path, true);
}

int MemoryRegistryKey::Open(RegistryRoot root, const char* path) {
    return Hold(root, path, false);
}

int MemoryRegistryKey::Close() {
    registry_.log.push_back("Close");
    const bool wasHeld = held_;
    held_ = false;
    return wasHeld ? 1 : 0;
}

int MemoryRegistryKey::SetString(const char* name, const char* text) {
    registry_.log.push_back(std::string("SetString ") + name + "=" + text);
    MemoryRegistry::Key* key = Held();
    if (key == nullptr) {
        return 0;
    }
    key->values[name] = MemoryRegistry::Value{kStoredString, std::string(text) + '\0'};
    return 1;
}

int MemoryRegistryKey::SetDword(const char* name, uint32_t value) {
    registry_.log.push_back(std::string("SetDword ") + name + "=" + std::to_string(value));
    MemoryRegistry::Key* key = Held();
    if (key == nullptr) {
        return 0;
    }
    key->values[name] = MemoryRegistry::Value{kStoredDword, DwordBytes(value)};
    return 1;
}

int MemoryRegistryKey::QueryString(const char* name, std::string& text, const char* defaultText) {
    registry_.log.push_back(std::string("QueryString ") + name);
    const MemoryRegistry::Value* stored = HeldValue(name);
    if (stored == nullptr || stored->bytes.size() > kQueryStringBufferSize) {
        text = defaultText;
        return 0;
    }
    text = TextOf(stored->bytes);
    return 1;
}

int MemoryRegistryKey::QueryDword(const char* name, uint32_t& value, uint32_t defaultValue) {
    registry_.log.push_back(std::string("QueryDword ") + name);
    const MemoryRegistry::Value* stored = HeldValue(name);
    if (stored == nullptr || stored->bytes.size() > 4) {
        value = defaultValue;
        return 0;
    }
    value = LittleEndian(stored->bytes);
    return 1;
}

int MemoryRegistryKey::Delete(const char* name) {
    registry_.log.push_back(std::string("Delete ") + name);
    MemoryRegistry::Key* key = Held();
    if (key == nullptr) {
        return 0;
    }
    key->values.erase(name);
    std::vector<std::string> target = parts_;
    for (const std::string& part : SplitKeyPath(name)) {
        target.push_back(part);
    }
    if (target.empty()) {
        return 0;  // a root cannot be deleted
    }
    const MemoryRegistry::Key* doomed = registry_.Find(root_, target);
    if (doomed == nullptr || !doomed->subKeys.empty()) {
        return 0;
    }
    const std::string last = target.back();
    target.pop_back();
    registry_.Find(root_, target)->subKeys.erase(last);
    return 1;
}
