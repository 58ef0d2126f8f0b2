#include "app/settings_store.h"

#include <gtest/gtest.h>
#include <string.h>

#include <string>
#include <vector>

#include "app/registry_names.h"
#include "tests/support/memory_registry.h"

namespace {

constexpr RegistryRoot kUser = RegistryRoot::CurrentUser;

PlatformInfo Nt(uint32_t major) {
    PlatformInfo platform;
    platform.ntMajorVersion = major;
    return platform;
}

Settings Load(MemoryRegistry& registry, const PlatformInfo& platform = Nt(5)) {
    MemoryRegistryKey key(registry);
    Settings settings;
    // Whatever the record held before must not leak through.
    settings.FDLetter[0] = 'B';
    settings.WindowFx = settings.Sound = 0;
    settings.Compatible = settings.Emergency = settings.Suppress = 7;
    LoadSettings(key, platform, settings);
    return settings;
}

void ExpectDefaults(const Settings& settings) {
    EXPECT_STREQ(settings.FDLetter, "A:");
    EXPECT_EQ(settings.WindowFx, 1u);
    EXPECT_EQ(settings.Compatible, 0u);
    EXPECT_EQ(settings.Sound, 1u);
    EXPECT_EQ(settings.Emergency, 0u);
    EXPECT_EQ(settings.Suppress, 0u);
}

}  // namespace

TEST(LoadSettings, FreshProfileGivesDefaultsAndAnEmptySettingsKey) {
    MemoryRegistry registry;
    ExpectDefaults(Load(registry));
    EXPECT_TRUE(registry.HasKey(kUser, "Software\\Quendal Software\\Vorlix\\Settings"));
    EXPECT_EQ(registry.ValueCount(kUser, kSettingsKeyPath), 0u);
    const std::vector<std::string> expected = {
        "Create CU Software\\Quendal Software\\Vorlix\\Settings",
        "QueryDword Suppress",
        "QueryDword Emergency",
        "QueryDword Sound",
        "QueryDword Compatible",
        "QueryDword WindowFx",
        "QueryString FDLetter",
        "QueryDword Verify",
        "QueryDword Retries",
        "QueryDword WriteLog",
        "Close"};
    EXPECT_EQ(registry.log, expected);
}

TEST(LoadSettings, AnUnwritableRegistryGivesDefaults) {
    MemoryRegistry registry;
    registry.PutDword(kUser, kSettingsKeyPath, kSoundValue, 0);
    registry.locked = true;
    ExpectDefaults(Load(registry));
}

TEST(LoadSettings, ReadsStoredValues) {
    MemoryRegistry registry;
    registry.PutString(kUser, kSettingsKeyPath, kFDLetterValue, "B:");
    registry.PutDword(kUser, kSettingsKeyPath, kWindowFxValue, 0);
    registry.PutDword(kUser, kSettingsKeyPath, kCompatibleValue, 1);
    registry.PutDword(kUser, kSettingsKeyPath, kSoundValue, 0);
    registry.PutDword(kUser, kSettingsKeyPath, kEmergencyValue, 1);
    registry.PutDword(kUser, kSettingsKeyPath, kSuppressValue, 1);
    const Settings settings = Load(registry);
    EXPECT_STREQ(settings.FDLetter, "B:");
    EXPECT_EQ(settings.WindowFx, 0u);
    EXPECT_EQ(settings.Compatible, 1u);
    EXPECT_EQ(settings.Sound, 0u);
    EXPECT_EQ(settings.Emergency, 1u);
    EXPECT_EQ(settings.Suppress, 1u);
}

struct WindowFxCase {
    uint32_t ntMajorVersion;
    uint32_t expected;
};

class WindowFxByPlatform : public testing::TestWithParam<WindowFxCase> {};

TEST_P(WindowFxByPlatform, IsOffBelowNt5InMemoryOnly) {
    MemoryRegistry registry;
    registry.PutDword(kUser, kSettingsKeyPath, kWindowFxValue, 1);
    EXPECT_EQ(Load(registry, Nt(GetParam().ntMajorVersion)).WindowFx, GetParam().expected);
    EXPECT_EQ(registry.DwordAt(kUser, kSettingsKeyPath, kWindowFxValue), 1u);
}

INSTANTIATE_TEST_SUITE_P(LoadSettings, WindowFxByPlatform,
                         testing::Values(WindowFxCase{0, 0},  // the 9x family
                                         WindowFxCase{3, 0}, WindowFxCase{4, 0}, WindowFxCase{5, 1},
                                         WindowFxCase{6, 1}, WindowFxCase{10, 1}));

// How one stored switch value loads, planted as both "Sound" (default 1) and "Suppress"
// (default 0) so that a value read shows apart from a default. Values are read without
// looking at their type, as the registry hands them over.
struct SwitchCase {
    const char* label;
    uint32_t type;
    std::string bytes;
    uint32_t sound;
    uint32_t suppress;
};

class StoredSwitch : public testing::TestWithParam<SwitchCase> {};

TEST_P(StoredSwitch, LoadsAsZeroOrOne) {
    MemoryRegistry registry;
    registry.Put(kUser, kSettingsKeyPath, kSoundValue, GetParam().type, GetParam().bytes);
    registry.Put(kUser, kSettingsKeyPath, kSuppressValue, GetParam().type, GetParam().bytes);
    const Settings settings = Load(registry);
    EXPECT_EQ(settings.Sound, GetParam().sound);
    EXPECT_EQ(settings.Suppress, GetParam().suppress);
}

INSTANTIATE_TEST_SUITE_P(
    LoadSettings, StoredSwitch,
    testing::Values(SwitchCase{"Zero", kStoredDword, std::string(4, '\0'), 0, 0},
                    SwitchCase{"One", kStoredDword, std::string("\x01\0\0\0", 4), 1, 1},
                    SwitchCase{"Two", kStoredDword, std::string("\x02\0\0\0", 4), 1, 1},
                    SwitchCase{"HighBitOnly", kStoredDword, std::string("\0\0\0\x80", 4), 1, 1},
                    SwitchCase{"AllBits", kStoredDword, std::string("\xFF\xFF\xFF\xFF", 4), 1, 1},
                    // A hand-edited string: its bytes are the number, so even "0" is on.
                    SwitchCase{"StringOne", kStoredString, std::string("1\0", 2), 1, 1},
                    SwitchCase{"StringZero", kStoredString, std::string("0\0", 2), 1, 1},
                    SwitchCase{"EmptyString", kStoredString, std::string("\0", 1), 0, 0},
                    SwitchCase{"EmptyBinary", kStoredBinary, "", 0, 0},
                    // Too long for the 4-byte buffer: the defaults.
                    SwitchCase{"LongString", kStoredString, std::string("1234\0", 5), 1, 0},
                    SwitchCase{"EightZeroBytes", kStoredBinary, std::string(8, '\0'), 1, 0}),
    [](const testing::TestParamInfo<SwitchCase>& tc) { return std::string(tc.param.label); });

struct DriveCase {
    const char* label;
    uint32_t type;
    std::string bytes;
    const char* expected;
};

class StoredDrive : public testing::TestWithParam<DriveCase> {};

// The drive text is opened as "\\.\X:" for raw sector writes: only the floppy drives
// may come through.
TEST_P(StoredDrive, LoadsAsAOrB) {
    MemoryRegistry registry;
    registry.Put(kUser, kSettingsKeyPath, kFDLetterValue, GetParam().type, GetParam().bytes);
    EXPECT_STREQ(Load(registry).FDLetter, GetParam().expected);
}

std::string Z(const char* text) {
    return std::string(text) + '\0';
}

INSTANTIATE_TEST_SUITE_P(
    LoadSettings, StoredDrive,
    testing::Values(DriveCase{"A", kStoredString, Z("A:"), "A:"},
                    DriveCase{"B", kStoredString, Z("B:"), "B:"},
                    DriveCase{"LowerB", kStoredString, Z("b:"), "B:"},
                    DriveCase{"LowerA", kStoredString, Z("a:"), "A:"},
                    DriveCase{"HardDisk", kStoredString, Z("C:"), "A:"},
                    DriveCase{"LowerHardDisk", kStoredString, Z("c:"), "A:"},
                    DriveCase{"Z", kStoredString, Z("Z:"), "A:"},
                    DriveCase{"DevicePath", kStoredString, Z("\\\\.\\C:"), "A:"},
                    DriveCase{"BWithoutColon", kStoredString, Z("B"), "A:"},
                    DriveCase{"BWithBackslash", kStoredString, Z("B:\\"), "A:"},
                    DriveCase{"BWithSpace", kStoredString, Z(" B:"), "A:"},
                    DriveCase{"Empty", kStoredString, Z(""), "A:"},
                    DriveCase{"BWithoutZeroByte", kStoredBinary, "B:", "B:"},
                    DriveCase{"BThenHiddenText", kStoredString, std::string("B:\0C:\0", 6), "B:"},
                    DriveCase{"Number", kStoredDword, std::string("\x42\0\0\0", 4), "A:"},
                    DriveCase{"TooLong", kStoredString, Z("B:") + std::string(16300, 'x'), "A:"}),
    [](const testing::TestParamInfo<DriveCase>& tc) { return std::string(tc.param.label); });

TEST(SaveSettings, WritesEveryValueInOrder) {
    MemoryRegistry registry;
    MemoryRegistryKey key(registry);
    Settings settings;
    strcpy(settings.FDLetter, "B:");
    settings.WindowFx = 0;
    settings.Compatible = 1;
    settings.Sound = 0;
    settings.Emergency = 1;
    settings.Suppress = 1;
    settings.Verify = 0;
    SaveSettings(key, settings);
    const std::vector<std::string> expected = {
        "Create CU Software\\Quendal Software\\Vorlix\\Settings",
        "SetDword Emergency=1",
        "SetDword Sound=0",
        "SetDword Compatible=1",
        "SetDword WindowFx=0",
        "SetDword Suppress=1",
        "SetString FDLetter=B:",
        "SetDword Verify=0",
        "SetDword Retries=3",
        "SetDword WriteLog=0",
        "Close"};
    EXPECT_EQ(registry.log, expected);
    EXPECT_FALSE(key.IsHolding());
}

TEST(SaveSettings, WhatIsSavedLoadsBack) {
    for (const char* drive : {"A:", "B:"}) {
        for (uint32_t on = 0; on <= 1; ++on) {
            MemoryRegistry registry;
            MemoryRegistryKey key(registry);
            Settings saved;
            strcpy(saved.FDLetter, drive);
            saved.WindowFx = on;
            saved.Compatible = on;
            saved.Sound = 1 - on;
            saved.Emergency = on;
            saved.Suppress = 1 - on;
            SaveSettings(key, saved);
            const Settings loaded = Load(registry);
            EXPECT_STREQ(loaded.FDLetter, drive);
            EXPECT_EQ(loaded.WindowFx, on);
            EXPECT_EQ(loaded.Compatible, on);
            EXPECT_EQ(loaded.Sound, 1 - on);
            EXPECT_EQ(loaded.Emergency, on);
            EXPECT_EQ(loaded.Suppress, 1 - on);
        }
    }
}

TEST(SaveSettings, WindowFxForcedOffOnOldSystemsIsStoredOff) {
    MemoryRegistry registry;
    registry.PutDword(kUser, kSettingsKeyPath, kWindowFxValue, 1);
    const Settings loaded = Load(registry, Nt(0));
    MemoryRegistryKey key(registry);
    SaveSettings(key, loaded);
    EXPECT_EQ(registry.DwordAt(kUser, kSettingsKeyPath, kWindowFxValue), 0u);
}

TEST(SaveSettings, AnUnwritableRegistryIsHarmless) {
    MemoryRegistry registry;
    registry.locked = true;
    MemoryRegistryKey key(registry);
    SaveSettings(key, Settings());
    EXPECT_FALSE(registry.HasKey(kUser, kSettingsKeyPath));
}

// The log beside each image: on only for a stored 1, off for any other value a hand edit
// may leave.
TEST(LoadSettings, WriteLogIsOnOnlyForOne) {
    const std::pair<uint32_t, uint32_t> cases[] = {{0, 0}, {1, 1}, {2, 0}, {3, 0}, {0xFFFFFFFF, 0}};
    for (const auto& [stored, expected] : cases) {
        MemoryRegistry registry;
        registry.PutDword(kUser, kSettingsKeyPath, "WriteLog", stored);
        EXPECT_EQ(Load(registry).WriteLog, expected) << stored;
    }
    MemoryRegistry text;
    text.PutString(kUser, kSettingsKeyPath, "WriteLog", "1");
    EXPECT_EQ(Load(text).WriteLog, 0u);
}
