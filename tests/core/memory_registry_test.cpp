#include "tests/support/memory_registry.h"

#include <gtest/gtest.h>

#include "tests/support/registry_contract.h"

// The in-memory store stands in for the registry in every portable test; these are the
// same checks the real registry passes under Wine.
TEST(MemoryRegistry, KeepsTheKeyContract) {
    MemoryRegistry registry;
    MemoryRegistryKey key(registry);
    ExpectKeyContract(key, "Software\\VorlixTest\\Contract");
    EXPECT_FALSE(registry.HasKey(RegistryRoot::CurrentUser, "Software\\VorlixTest\\Contract"));
}

TEST(MemoryRegistry, ReadsStoredValuesAsTheRegistryDoes) {
    MemoryRegistry registry;
    MemoryRegistryKey key(registry);
    ExpectStoredValuesRead(key, "Software\\VorlixTest\\Values",
                           [&](const std::string& path, const std::string& name, uint32_t type,
                               const std::string& bytes) {
                               registry.Put(RegistryRoot::CurrentUser, path, name, type, bytes);
                           });
    EXPECT_FALSE(registry.HasKey(RegistryRoot::CurrentUser, "Software\\VorlixTest\\Values"));
}

TEST(MemoryRegistry, RootsAreSeparate) {
    MemoryRegistry registry;
    MemoryRegistryKey key(registry);
    key.Create(RegistryRoot::ClassesRoot, ".img");
    key.Close();
    EXPECT_TRUE(registry.HasKey(RegistryRoot::ClassesRoot, ".img"));
    EXPECT_FALSE(registry.HasKey(RegistryRoot::CurrentUser, ".img"));
    EXPECT_EQ(key.Open(RegistryRoot::CurrentUser, ".img"), 0);
}

TEST(MemoryRegistry, ALockedRegistryRefusesKeys) {
    MemoryRegistry registry;
    registry.MakeKey(RegistryRoot::CurrentUser, "Software");
    registry.locked = true;
    MemoryRegistryKey key(registry);
    EXPECT_EQ(key.Create(RegistryRoot::CurrentUser, "Software\\New"), 0);
    EXPECT_EQ(key.Open(RegistryRoot::CurrentUser, "Software"), 0);
    EXPECT_EQ(key.SetDword("x", 1), 0);
    EXPECT_FALSE(registry.HasKey(RegistryRoot::CurrentUser, "Software\\New"));
}
