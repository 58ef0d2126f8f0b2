// The "Retries" setting: stored under Settings, 0 to 20, default 3, and what reaches a job.
#include <gtest/gtest.h>

#include <string>

#include "app/command_line.h"
#include "app/registry_names.h"
#include "app/settings_store.h"
#include "engine/job/job_fields.h"
#include "tests/support/command_line_split.h"
#include "tests/support/memory_registry.h"

namespace {

constexpr RegistryRoot kUser = RegistryRoot::CurrentUser;

struct StoredCase {
    const char* name;
    uint32_t type;
    std::string bytes;  // nullptr-like: empty name means not stored
    uint32_t loaded;
};

class StoredRetries : public ::testing::TestWithParam<StoredCase> {};

TEST_P(StoredRetries, LoadWithinTheRangeOrAsTheDefault) {
    MemoryRegistry registry;
    if (!GetParam().bytes.empty()) {
        registry.Put(kUser, kSettingsKeyPath, kRetriesValue, GetParam().type, GetParam().bytes);
    }
    MemoryRegistryKey key(registry);
    Settings settings;
    settings.Retries = 99;  // what the record held before must not leak through
    LoadSettings(key, PlatformInfo{}, settings);
    EXPECT_EQ(settings.Retries, GetParam().loaded);
}

std::string Dword(uint32_t value) {
    return std::string(reinterpret_cast<const char*>(&value), 4);
}

INSTANTIATE_TEST_SUITE_P(
    Values, StoredRetries,
    ::testing::Values(StoredCase{"Missing", kStoredDword, "", 3},
                      StoredCase{"None", kStoredDword, Dword(0), 0},
                      StoredCase{"Some", kStoredDword, Dword(7), 7},
                      StoredCase{"Most", kStoredDword, Dword(20), 20},
                      StoredCase{"OneTooMany", kStoredDword, Dword(21), 3},
                      StoredCase{"MinusOne", kStoredDword, Dword(0xFFFFFFFFu), 3},
                      // A text "5" reaches the number as its character code.
                      StoredCase{"Text", kStoredString, std::string("5\0", 2), 3},
                      StoredCase{"LongText", kStoredString, std::string("twelve\0", 7), 3}),
    [](const ::testing::TestParamInfo<StoredCase>& p) { return std::string(p.param.name); });

TEST(SavedRetries, LoadBackAndAnOutOfRangeCountIsNeverStored) {
    for (uint32_t value : {0u, 3u, 20u, 21u}) {
        MemoryRegistry registry;
        MemoryRegistryKey key(registry);
        Settings settings;
        settings.Retries = value;
        SaveSettings(key, settings);
        Settings loaded;
        LoadSettings(key, PlatformInfo{}, loaded);
        EXPECT_EQ(loaded.Retries, value <= 20 ? value : 3u) << value;
    }
}

TEST(CommandLineRetries, EmergencySwitchUsesTheDefaultNotTheStoredCount) {
    Settings settings;
    settings.Retries = 15;
    const CommandLineRequest request =
        InterpretCommandLine(SplitCommandLine("vorlix.exe /e /r disk.img"), settings);
    EXPECT_EQ(request.switchesResult, 0);
    EXPECT_EQ(settings.Emergency, 1u);
    EXPECT_EQ(settings.Retries, 3u);
}

TEST(RetriesInTheRequest, ComeFromTheSettings) {
    Settings settings;
    settings.Retries = 11;
    JobFields fields;
    fields.rereadMappedSectors = true;
    const JobRequest request = MakeJobRequest(JobKind::Read, fields, StartChoicesOf(settings));
    EXPECT_EQ(request.retries, 11u);
    EXPECT_TRUE(request.rereadMappedSectors);
}

}  // namespace
