#include "app/version_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/file_types.h"
#include "app/registry_names.h"
#include "app/version.h"
#include "resources/string_ids.h"
#include "tests/support/fake_shell.h"
#include "tests/support/memory_registry.h"
#include "tests/support/recording_sink.h"

namespace {

constexpr RegistryRoot kUser = RegistryRoot::CurrentUser;
constexpr RegistryRoot kClasses = RegistryRoot::ClassesRoot;

const std::vector<std::string> kReadVersion = {"Create CU Software\\Quendal Software\\Vorlix\\Info",
                                               "QueryString Version", "Close"};
const std::vector<std::string> kWriteVersion = {
    "Create CU Software\\Quendal Software\\Vorlix\\Info", "SetString Version=1.5.2", "Close"};

struct Startup {
    MemoryRegistry registry;
    FakeShell shell;
    RecordingSink sink;

    void Check() {
        MemoryRegistryKey key(registry);
        CheckInstalledVersion(key, shell, sink);
        EXPECT_FALSE(key.IsHolding());
    }
};

}  // namespace

TEST(CheckInstalledVersion, TheCurrentVersionAsksNothing) {
    Startup run;
    run.registry.PutString(kUser, kInfoKeyPath, kVersionValue, "1.5.2");
    run.Check();
    EXPECT_TRUE(run.sink.shown.empty());
    EXPECT_EQ(run.registry.log, kReadVersion);
    EXPECT_EQ(run.shell.notices, 0);
}

class OtherVersion : public testing::TestWithParam<const char*> {};

TEST_P(OtherVersion, AsksOnceAndNoStoresTheVersionOnly) {
    Startup run;
    if (GetParam() != nullptr) {
        run.registry.PutString(kUser, kInfoKeyPath, kVersionValue, GetParam());
    }
    run.sink.answers = {MessageAnswer::No};
    run.Check();
    ASSERT_EQ(run.sink.shown.size(), 1u);
    EXPECT_EQ(run.sink.shown[0].id, 57679u);
    EXPECT_EQ(run.sink.shown[0].id, static_cast<unsigned>(IDS_ASK_REGISTER_TYPES));
    EXPECT_EQ(run.sink.shown[0].style, MessageStyle::Question);
    std::vector<std::string> expected = kReadVersion;
    expected.insert(expected.end(), kWriteVersion.begin(), kWriteVersion.end());
    EXPECT_EQ(run.registry.log, expected);
    EXPECT_FALSE(run.registry.HasKey(kClasses, ".img"));
    EXPECT_FALSE(run.registry.HasKey(kClasses, "VorlixFile"));
    EXPECT_EQ(run.shell.notices, 0);

    run.Check();  // the next start of this version
    EXPECT_EQ(run.sink.shown.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(CheckInstalledVersion, OtherVersion,
                         testing::Values(nullptr, "0", "", "1.5.1", "1.5.20", "1.5.2 ", " 1.5.2",
                                         "V1.5.2", "1.6.0"));

TEST(CheckInstalledVersion, YesRegistersTypesStoresVersionThenNotifiesOnce) {
    Startup run;
    run.registry.PutString(kUser, kInfoKeyPath, kVersionValue, "1.4.0");
    run.registry.MakeKey(kClasses, "VorlixFile\\Shell\\write image to floppy disk\\command");
    run.sink.answers = {MessageAnswer::Yes};
    run.Check();

    // The same sequence RegisterAllTypes makes on its own, between reading and writing
    // the version.
    MemoryRegistry reference;
    MemoryRegistryKey referenceKey(reference);
    RegisterAllTypes(referenceKey, run.shell);
    std::vector<std::string> expected = kReadVersion;
    expected.insert(expected.end(), reference.log.begin(), reference.log.end());
    expected.insert(expected.end(), kWriteVersion.begin(), kWriteVersion.end());
    EXPECT_EQ(run.registry.log, expected);

    EXPECT_EQ(run.registry.StringAt(kUser, kInfoKeyPath, kVersionValue), kProgramVersion);
    EXPECT_EQ(run.registry.StringAt(kClasses, ".imz", ""), "VorlixCompressedFile");
    EXPECT_FALSE(run.registry.HasKey(kClasses, "VorlixFile\\Shell\\write image to floppy disk"));
    EXPECT_EQ(run.shell.notices, 1);

    run.Check();
    EXPECT_EQ(run.sink.shown.size(), 1u);
    EXPECT_EQ(run.shell.notices, 1);
}

TEST(CheckInstalledVersion, AnyAnswerButNoRegisters) {
    Startup run;
    run.sink.answers = {MessageAnswer::Ok};
    run.Check();
    EXPECT_EQ(run.registry.StringAt(kClasses, ".img", ""), "VorlixFile");
    EXPECT_EQ(run.shell.notices, 1);
}

TEST(CheckInstalledVersion, AnUnwritableRegistryAsksAtEveryStart) {
    Startup run;
    run.registry.locked = true;
    run.sink.answers = {MessageAnswer::Yes, MessageAnswer::No};
    run.Check();
    run.Check();
    EXPECT_EQ(run.sink.shown.size(), 2u);
    EXPECT_FALSE(run.registry.HasKey(kClasses, ".img"));
}

TEST(CheckInstalledVersion, AVersionTooLongToReadCountsAsAnother) {
    Startup run;
    run.registry.PutString(kUser, kInfoKeyPath, kVersionValue, "1.5.2" + std::string(16300, ' '));
    run.sink.answers = {MessageAnswer::No};
    run.Check();
    EXPECT_EQ(run.sink.shown.size(), 1u);
    EXPECT_EQ(run.registry.StringAt(kUser, kInfoKeyPath, kVersionValue), "1.5.2");
}
