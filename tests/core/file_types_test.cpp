#include "app/file_types.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/fake_shell.h"
#include "tests/support/memory_registry.h"

namespace {

constexpr RegistryRoot kClasses = RegistryRoot::ClassesRoot;
const char kProgram[] = "C:\\Program Files\\Vorlix\\Vorlix.exe";

struct TypeKeys {
    const char* extension;
    const char* progId;
    const char* icon;
};

const TypeKeys kImg{".img", "VorlixFile", "C:\\Program Files\\Vorlix\\Vorlix.exe,1"};
const TypeKeys kImz{".imz", "VorlixCompressedFile", "C:\\Program Files\\Vorlix\\Vorlix.exe,2"};

std::string DefaultAt(const MemoryRegistry& registry, const std::string& path) {
    return registry.StringAt(kClasses, path, "");
}

void ExpectRegistered(const MemoryRegistry& registry, const TypeKeys& type) {
    SCOPED_TRACE(type.extension);
    const std::string progId = type.progId;
    EXPECT_EQ(DefaultAt(registry, type.extension), type.progId);
    EXPECT_EQ(DefaultAt(registry, progId + "\\DefaultIcon"), type.icon);
    EXPECT_EQ(DefaultAt(registry, progId + "\\Shell\\open"), "&Open");
    EXPECT_EQ(DefaultAt(registry, progId + "\\Shell\\open\\command"),
              "\"C:\\Program Files\\Vorlix\\Vorlix.exe\" \"%1\"");
    EXPECT_EQ(DefaultAt(registry, progId + "\\Shell\\write_image_to_floppy_disk"),
              "&Write Image to Floppy Disk");
    EXPECT_EQ(DefaultAt(registry, progId + "\\Shell\\write_image_to_floppy_disk\\command"),
              "\"C:\\Program Files\\Vorlix\\Vorlix.exe\" /W \"%1\"");
}

// The six steps of one type as the store sees them.
std::vector<std::string> RegisterLog(const TypeKeys& type) {
    const std::string progId = type.progId;
    const std::string program = "\"C:\\Program Files\\Vorlix\\Vorlix.exe\"";
    const std::vector<std::pair<std::string, std::string>> steps = {
        {progId + "\\DefaultIcon", type.icon},
        {progId + "\\Shell\\open", "&Open"},
        {progId + "\\Shell\\open\\command", program + " \"%1\""},
        {progId + "\\Shell\\write_image_to_floppy_disk", "&Write Image to Floppy Disk"},
        {progId + "\\Shell\\write_image_to_floppy_disk\\command", program + " /W \"%1\""},
        {type.extension, type.progId},
    };
    std::vector<std::string> log;
    for (const auto& step : steps) {
        log.push_back("Create CR " + step.first);
        log.push_back("SetString =" + step.second);
        log.push_back("Close");
    }
    return log;
}

std::vector<std::string> Concat(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The "Open with" entries for other programs' raw names, as the store sees them.
std::vector<std::string> OpenWithLog() {
    std::vector<std::string> log;
    for (const char* extension : {".ima", ".vfd", ".flp"}) {
        log.push_back(std::string("Create CR ") + extension + "\\OpenWithProgids");
        log.push_back("SetString VorlixFile=");
        log.push_back("Close");
    }
    return log;
}

const std::string kOldImgVerb = "VorlixFile\\Shell\\write image to floppy disk";
const std::string kOldImzVerb = "VorlixCompressedFile\\Shell\\write image to floppy disk";

}  // namespace

TEST(RegisterAllTypes, WritesBothTypesThenRemovesTheOldVerbs) {
    MemoryRegistry registry;
    MemoryRegistryKey key(registry);
    FakeShell shell(kProgram);
    RegisterAllTypes(key, shell);
    ExpectRegistered(registry, kImg);
    ExpectRegistered(registry, kImz);
    const std::vector<std::string> removeOldVerbs = {"Create CR " + kOldImgVerb,
                                                     "Delete command",
                                                     "Close",
                                                     "Create CR VorlixFile\\Shell",
                                                     "Delete write image to floppy disk",
                                                     "Close",
                                                     "Create CR " + kOldImzVerb,
                                                     "Delete command",
                                                     "Close",
                                                     "Create CR VorlixCompressedFile\\Shell",
                                                     "Delete write image to floppy disk",
                                                     "Close"};
    EXPECT_EQ(registry.log,
              Concat(Concat(Concat(RegisterLog(kImg), RegisterLog(kImz)), removeOldVerbs), OpenWithLog()));
    EXPECT_EQ(shell.notices, 0);  // the caller notifies once after its batch
}

enum class OldVerb { Missing, WithCommand, WithoutCommand, CommandHasSubKey };

class OldVerbs : public testing::TestWithParam<OldVerb> {};

TEST_P(OldVerbs, AreGoneAfterRegistration) {
    MemoryRegistry registry;
    for (const std::string& verb : {kOldImgVerb, kOldImzVerb}) {
        switch (GetParam()) {
            case OldVerb::Missing:
                break;
            case OldVerb::WithCommand:
                registry.PutString(kClasses, verb + "\\command", "",
                                   "\"C:\\Old\\Vorlix.exe\" /W \"%1\"");
                registry.PutString(kClasses, verb, "", "&Write Image to Floppy Disk");
                break;
            case OldVerb::WithoutCommand:
                registry.MakeKey(kClasses, verb);
                break;
            case OldVerb::CommandHasSubKey:  // not ours to prune further: the verb stays
                registry.MakeKey(kClasses, verb + "\\command\\extra");
                break;
        }
    }
    registry.PutString(kClasses, "VorlixFile\\Shell\\print\\command", "", "someone else's verb");
    MemoryRegistryKey key(registry);
    FakeShell shell(kProgram);
    RegisterAllTypes(key, shell);

    const bool stays = GetParam() == OldVerb::CommandHasSubKey;
    EXPECT_EQ(registry.HasKey(kClasses, kOldImgVerb), stays);
    EXPECT_EQ(registry.HasKey(kClasses, kOldImzVerb), stays);
    EXPECT_EQ(registry.StringAt(kClasses, "VorlixFile\\Shell\\print\\command", ""),
              "someone else's verb");
    ExpectRegistered(registry, kImg);
    ExpectRegistered(registry, kImz);
}

INSTANTIATE_TEST_SUITE_P(RegisterAllTypes, OldVerbs,
                         testing::Values(OldVerb::Missing, OldVerb::WithCommand,
                                         OldVerb::WithoutCommand, OldVerb::CommandHasSubKey));

TEST(RegisterAllTypes, ReplacesAForeignAssociation) {
    MemoryRegistry registry;
    registry.PutString(kClasses, ".img", "", "OtherImageFile");
    registry.PutString(kClasses, ".img", "Content Type", "application/octet-stream");
    MemoryRegistryKey key(registry);
    FakeShell shell(kProgram);
    RegisterAllTypes(key, shell);
    EXPECT_EQ(DefaultAt(registry, ".img"), "VorlixFile");
    EXPECT_EQ(registry.StringAt(kClasses, ".img", "Content Type"), "application/octet-stream");
}

TEST(RegisterAllTypes, BuildsCommandsForAnyLengthOfProgramPath) {
    for (size_t length : {size_t{1}, size_t{259}, size_t{260}, size_t{1000}, size_t{40000}}) {
        const std::string program = "C:\\" + std::string(length, 'p') + ".exe";
        MemoryRegistry registry;
        MemoryRegistryKey key(registry);
        FakeShell shell(program);
        RegisterAllTypes(key, shell);
        EXPECT_EQ(
            DefaultAt(registry, "VorlixCompressedFile\\Shell\\write_image_to_floppy_disk\\command"),
            "\"" + program + "\" /W \"%1\"");
        EXPECT_EQ(DefaultAt(registry, "VorlixFile\\DefaultIcon"), program + ",1");
        // A command longer than the 16,300-byte query buffer cannot be read back.
        EXPECT_EQ(IsTypeAssociated(key, shell, ".imz"), length < 16000) << length;
    }
}

TEST(RegisterAllTypes, AnUnwritableRegistryIsHarmless) {
    MemoryRegistry registry;
    registry.locked = true;
    MemoryRegistryKey key(registry);
    FakeShell shell(kProgram);
    RegisterAllTypes(key, shell);
    EXPECT_FALSE(registry.HasKey(kClasses, ".img"));
    EXPECT_FALSE(key.IsHolding());
}

TEST(RegisterType, RegistersOneTypeAndLeavesTheOldVerbsAlone) {
    MemoryRegistry registry;
    registry.MakeKey(kClasses, kOldImzVerb + "\\command");
    MemoryRegistryKey key(registry);
    FakeShell shell(kProgram);
    RegisterImzType(key, shell, true);
    EXPECT_EQ(registry.log, RegisterLog(kImz));
    ExpectRegistered(registry, kImz);
    EXPECT_FALSE(registry.HasKey(kClasses, ".img"));
    EXPECT_TRUE(registry.HasKey(kClasses, kOldImzVerb + "\\command"));

    registry.log.clear();
    RegisterImgType(key, shell, true);
    EXPECT_EQ(registry.log, Concat(RegisterLog(kImg), OpenWithLog()));
}

TEST(RegisterType, UnregisteringEndsTheAssociationAndKeepsTheProgId) {
    MemoryRegistry registry;
    MemoryRegistryKey key(registry);
    FakeShell shell(kProgram);
    RegisterAllTypes(key, shell);
    registry.log.clear();

    RegisterImzType(key, shell, false);
    EXPECT_EQ(registry.log, (std::vector<std::string>{"Create CR .imz", "Delete ", "Close"}));
    EXPECT_FALSE(registry.HasKey(kClasses, ".imz"));
    EXPECT_FALSE(IsTypeAssociated(key, shell, ".imz"));
    EXPECT_TRUE(IsTypeAssociated(key, shell, ".img"));
    EXPECT_EQ(DefaultAt(registry, "VorlixCompressedFile\\Shell\\open\\command"),
              "\"C:\\Program Files\\Vorlix\\Vorlix.exe\" \"%1\"");

    RegisterImzType(key, shell, true);
    ExpectRegistered(registry, kImz);
    EXPECT_TRUE(IsTypeAssociated(key, shell, ".imz"));
}

TEST(RegisterType, UnregisteringKeepsAnExtensionKeyWithSubKeys) {
    MemoryRegistry registry;
    MemoryRegistryKey key(registry);
    FakeShell shell(kProgram);
    RegisterImgType(key, shell, true);
    registry.PutString(kClasses, ".img\\ShellNew", "NullFile", "");
    RegisterImgType(key, shell, false);
    EXPECT_TRUE(registry.HasKey(kClasses, ".img\\ShellNew"));
    EXPECT_FALSE(registry.HasValue(kClasses, ".img", ""));
    EXPECT_FALSE(IsTypeAssociated(key, shell, ".img"));
}

TEST(RegisterType, UnregisteringAMissingTypeLeavesNothingBehind) {
    MemoryRegistry registry;
    MemoryRegistryKey key(registry);
    FakeShell shell(kProgram);
    RegisterImgType(key, shell, false);
    EXPECT_FALSE(registry.HasKey(kClasses, ".img"));
    EXPECT_FALSE(key.IsHolding());
}

// Other programs keep ".ima", ".vfd" and ".flp" as their default: Vorlix is only one more
// program under "Open with", added and withdrawn with the ".img" type.
TEST(OpenWith, OffersVorlixForOtherRawNamesWithoutTakingTheirDefault) {
    struct Start {
        const char* extension;
        const char* defaultProgId;  // nullptr: no extension key
        const char* otherOpenWith;  // another program's OpenWithProgids value, or nullptr
    };
    const Start starts[] = {
        {".vfd", "OtherVm.Floppy", "OtherVm.Floppy"},
        {".flp", "OtherVm.flp", nullptr},
        {".ima", nullptr, nullptr},
    };
    for (void (*registerAll)(RegistryKey&, const ShellEnvironment&) :
         {RegisterAllTypes, +[](RegistryKey& k, const ShellEnvironment& s) { RegisterImgType(k, s, true); }}) {
        MemoryRegistry registry;
        for (const Start& start : starts) {
            if (start.defaultProgId) registry.PutString(kClasses, start.extension, "", start.defaultProgId);
            if (start.otherOpenWith) {
                registry.PutString(kClasses, std::string(start.extension) + "\\OpenWithProgids",
                                   start.otherOpenWith, "");
            }
        }
        MemoryRegistryKey key(registry);
        FakeShell shell(kProgram);
        registerAll(key, shell);
        for (const Start& start : starts) {
            SCOPED_TRACE(start.extension);
            const std::string openWith = std::string(start.extension) + "\\OpenWithProgids";
            EXPECT_TRUE(registry.HasValue(kClasses, openWith, "VorlixFile"));
            EXPECT_EQ(registry.HasValue(kClasses, start.extension, ""), start.defaultProgId != nullptr);
            EXPECT_EQ(DefaultAt(registry, start.extension), start.defaultProgId ? start.defaultProgId : "");
            EXPECT_FALSE(IsTypeAssociated(key, shell, start.extension));
        }

        RegisterImgType(key, shell, false);
        for (const Start& start : starts) {
            SCOPED_TRACE(start.extension);
            const std::string openWith = std::string(start.extension) + "\\OpenWithProgids";
            EXPECT_FALSE(registry.HasValue(kClasses, openWith, "VorlixFile"));
            EXPECT_EQ(registry.ValueCount(kClasses, openWith), start.otherOpenWith ? 1u : 0u);
            EXPECT_EQ(DefaultAt(registry, start.extension), start.defaultProgId ? start.defaultProgId : "");
        }
    }
}

TEST(OpenWith, WithdrawingCreatesNoKeys) {
    MemoryRegistry registry;
    MemoryRegistryKey key(registry);
    FakeShell shell(kProgram);
    RegisterImgType(key, shell, false);
    for (const char* extension : {".ima", ".vfd", ".flp"}) EXPECT_FALSE(registry.HasKey(kClasses, extension));
    RegisterImzType(key, shell, true);
    RegisterImzType(key, shell, false);
    EXPECT_FALSE(registry.HasKey(kClasses, ".vfd")) << "the .imz type leaves the raw names alone";
}

struct AssociationCase {
    const char* label;
    const char* extensionProgId;  // nullptr: no extension key
    const char* command;          // nullptr: no command key
    const char* program;
    bool expected;
};

class Association : public testing::TestWithParam<AssociationCase> {};

TEST_P(Association, FollowsTheOpenCommand) {
    const AssociationCase& c = GetParam();
    MemoryRegistry registry;
    if (c.extensionProgId != nullptr) {
        registry.PutString(kClasses, ".img", "", c.extensionProgId);
    }
    if (c.command != nullptr) {
        registry.PutString(kClasses, "SomeProgId\\Shell\\open\\command", "", c.command);
    }
    MemoryRegistryKey key(registry);
    FakeShell shell(c.program);
    EXPECT_EQ(IsTypeAssociated(key, shell, ".img"), c.expected);
    EXPECT_FALSE(key.IsHolding());
}

INSTANTIATE_TEST_SUITE_P(
    IsTypeAssociated, Association,
    testing::Values(
        AssociationCase{"Ours", "SomeProgId", "\"C:\\V\\Vorlix.exe\" \"%1\"", "C:\\V\\Vorlix.exe",
                        true},
        AssociationCase{"OursUnquoted", "SomeProgId", "C:\\V\\Vorlix.exe %1", "C:\\V\\Vorlix.exe",
                        true},
        AssociationCase{"ProgIdInOtherCase", "someprogid", "\"C:\\V\\Vorlix.exe\" \"%1\"",
                        "C:\\V\\Vorlix.exe", true},
        AssociationCase{"ForeignProgram", "SomeProgId", "\"C:\\Tools\\Imager.exe\" \"%1\"",
                        "C:\\V\\Vorlix.exe", false},
        AssociationCase{"PathInOtherCase", "SomeProgId", "\"C:\\V\\Vorlix.exe\" \"%1\"",
                        "c:\\v\\vorlix.exe", false},
        AssociationCase{"NoExtensionKey", nullptr, "\"C:\\V\\Vorlix.exe\" \"%1\"",
                        "C:\\V\\Vorlix.exe", false},
        AssociationCase{"NoProgId", "", "\"C:\\V\\Vorlix.exe\" \"%1\"", "C:\\V\\Vorlix.exe", false},
        AssociationCase{"ProgIdWithoutCommand", "SomeProgId", nullptr, "C:\\V\\Vorlix.exe", false},
        AssociationCase{"EmptyCommand", "SomeProgId", "", "C:\\V\\Vorlix.exe", false},
        AssociationCase{"EmptyProgramPath", "SomeProgId", "\"C:\\V\\Vorlix.exe\" \"%1\"", "",
                        false}),
    [](const testing::TestParamInfo<AssociationCase>& tc) { return std::string(tc.param.label); });

TEST(IsTypeAssociated, ReadsWithoutCreatingKeys) {
    MemoryRegistry registry;
    MemoryRegistryKey key(registry);
    FakeShell shell(kProgram);
    EXPECT_FALSE(IsTypeAssociated(key, shell, ".imz"));
    EXPECT_FALSE(registry.HasKey(kClasses, ".imz"));
    EXPECT_EQ(registry.log, (std::vector<std::string>{"Open CR .imz"}));
}

TEST(IsTypeAssociated, FalseWhenTheKeysCannotBeOpened) {
    MemoryRegistry registry;
    MemoryRegistryKey key(registry);
    FakeShell shell(kProgram);
    RegisterAllTypes(key, shell);
    registry.locked = true;
    EXPECT_FALSE(IsTypeAssociated(key, shell, ".img"));
}
