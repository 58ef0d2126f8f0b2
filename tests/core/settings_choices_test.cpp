#include "app/settings_choices.h"

#include <gtest/gtest.h>
#include <string.h>

#include <string>
#include <vector>

#include "app/file_types.h"
#include "tests/support/fake_shell.h"
#include "tests/support/memory_registry.h"

namespace {

constexpr RegistryRoot kUser = RegistryRoot::CurrentUser;
constexpr RegistryRoot kClasses = RegistryRoot::ClassesRoot;
const char kSettingsPath[] = "Software\\Quendal Software\\Vorlix\\Settings";
const char kOtherOpen[] = "\"C:\\Other\\Imager.exe\" \"%1\"";

void AssociateElsewhere(MemoryRegistry& registry, const char* extension) {
    registry.PutString(kClasses, extension, "", "OtherImage");
    registry.PutString(kClasses, "OtherImage\\shell\\open\\command", "", kOtherOpen);
}

// A registry in which ".img" and ".imz" are either ours or another program's.
struct Fixture {
    MemoryRegistry registry;
    MemoryRegistryKey key{registry};
    FakeShell shell;

    Fixture(bool imgOurs, bool imzOurs) {
        if (imgOurs) {
            RegisterImgType(key, shell, true);
        } else {
            AssociateElsewhere(registry, ".img");
        }
        if (imzOurs) {
            RegisterImzType(key, shell, true);
        } else {
            AssociateElsewhere(registry, ".imz");
        }
        registry.log.clear();
    }

    bool Ours(const char* extension) { return IsTypeAssociated(key, shell, extension); }
};

Settings MakeSettings(const char* drive, uint32_t fx, uint32_t compatible, uint32_t sound,
                      uint32_t emergency, uint32_t suppress) {
    Settings settings;
    strcpy(settings.FDLetter, drive);
    settings.WindowFx = fx;
    settings.Compatible = compatible;
    settings.Sound = sound;
    settings.Emergency = emergency;
    settings.Suppress = suppress;
    return settings;
}

TEST(ReadSettingsChoices, TicksTheBoxesOfTheSettingsAndOfOurOwnTypes) {
    Fixture f(true, false);
    const SettingsChoices boxes =
        ReadSettingsChoices(MakeSettings("B:", 0, 1, 0, 1, 1), f.key, f.shell);
    EXPECT_EQ(boxes.useDriveB, 1);
    EXPECT_EQ(boxes.windowFx, 0);
    EXPECT_EQ(boxes.compatible, 1);
    EXPECT_EQ(boxes.sound, 0);
    EXPECT_EQ(boxes.emergency, 1);
    EXPECT_EQ(boxes.suppress, 1);
    EXPECT_EQ(boxes.registerImg, 1);
    EXPECT_EQ(boxes.registerImz, 0);  // another program's

    const SettingsChoices defaults = ReadSettingsChoices(Settings(), f.key, f.shell);
    EXPECT_EQ(defaults.useDriveB, 0);
    EXPECT_EQ(defaults.windowFx, 1);
    EXPECT_EQ(defaults.sound, 1);
    EXPECT_EQ(defaults.compatible + defaults.emergency + defaults.suppress, 0);
}

TEST(ReadSettingsChoices, TheDriveBoxComparesWithAWithoutRegardToCase) {
    Fixture f(false, false);
    for (const char* drive : {"A:", "a:"}) {
        EXPECT_EQ(ReadSettingsChoices(MakeSettings(drive, 1, 0, 1, 0, 0), f.key, f.shell).useDriveB, 0)
            << drive;
    }
    for (const char* drive : {"B:", "b:"}) {
        EXPECT_EQ(ReadSettingsChoices(MakeSettings(drive, 1, 0, 1, 0, 0), f.key, f.shell).useDriveB, 1)
            << drive;
    }
}

TEST(ReadSettingsChoices, NoFileTypesAtAllLeaveBothBoxesUnticked) {
    MemoryRegistry registry;
    MemoryRegistryKey key(registry);
    FakeShell shell;
    const SettingsChoices boxes = ReadSettingsChoices(Settings(), key, shell);
    EXPECT_EQ(boxes.registerImg, 0);
    EXPECT_EQ(boxes.registerImz, 0);
}

TEST(ApplySettingsChoices, CopiesTheBoxesAndRewritesAllSixValues) {
    Fixture f(true, true);
    Settings settings;
    SettingsChoices boxes = ReadSettingsChoices(settings, f.key, f.shell);
    const SettingsChoices opened = boxes;
    boxes.useDriveB = 1;
    boxes.emergency = 1;
    boxes.suppress = 1;
    boxes.sound = 0;
    boxes.compatible = 1;
    boxes.windowFx = 0;

    ApplySettingsChoices(boxes, opened, settings, f.key, f.shell);

    EXPECT_STREQ(settings.FDLetter, "B:");
    EXPECT_EQ(settings.Emergency, 1u);
    EXPECT_EQ(settings.Suppress, 1u);
    EXPECT_EQ(settings.Sound, 0u);
    EXPECT_EQ(settings.Compatible, 1u);
    EXPECT_EQ(settings.WindowFx, 0u);
    EXPECT_EQ(f.registry.StringAt(kUser, kSettingsPath, "FDLetter"), "B:");
    EXPECT_EQ(f.registry.DwordAt(kUser, kSettingsPath, "Emergency"), 1u);
    EXPECT_EQ(f.registry.DwordAt(kUser, kSettingsPath, "Suppress"), 1u);
    EXPECT_EQ(f.registry.DwordAt(kUser, kSettingsPath, "Sound"), 0u);
    EXPECT_EQ(f.registry.DwordAt(kUser, kSettingsPath, "Compatible"), 1u);
    EXPECT_EQ(f.registry.DwordAt(kUser, kSettingsPath, "WindowFx"), 0u);
    EXPECT_EQ(f.shell.notices, 0);
}

TEST(ApplySettingsChoices, OkWithoutChangesStillWritesEveryValueAndNothingElse) {
    Fixture f(true, false);
    Settings settings;
    const SettingsChoices opened = ReadSettingsChoices(settings, f.key, f.shell);
    f.registry.log.clear();

    ApplySettingsChoices(opened, opened, settings, f.key, f.shell);

    EXPECT_EQ(f.registry.log,
              (std::vector<std::string>{"Create CU Software\\Quendal Software\\Vorlix\\Settings",
                                        "SetDword Emergency=0", "SetDword Sound=1",
                                        "SetDword Compatible=0", "SetDword WindowFx=1",
                                        "SetDword Suppress=0", "SetString FDLetter=A:", "SetDword Verify=1", "SetDword Retries=3", "SetDword WriteLog=0", "Close"}));
    EXPECT_EQ(f.shell.notices, 0);
}

TEST(ApplySettingsChoices, ALowerCaseDriveAIsStoredAsCapitalA) {
    Fixture f(false, false);
    Settings settings = MakeSettings("a:", 1, 0, 1, 0, 0);
    const SettingsChoices opened = ReadSettingsChoices(settings, f.key, f.shell);
    ApplySettingsChoices(opened, opened, settings, f.key, f.shell);
    EXPECT_STREQ(settings.FDLetter, "A:");
    EXPECT_EQ(f.registry.StringAt(kUser, kSettingsPath, "FDLetter"), "A:");
}

// Without layered windows the settings arrive with the effects off; the greyed box keeps
// them off and OK stores that.
TEST(ApplySettingsChoices, EffectsOffInMemoryAreStoredOff) {
    Fixture f(false, false);
    Settings settings = MakeSettings("A:", 0, 0, 1, 0, 0);
    f.registry.PutDword(kUser, kSettingsPath, "WindowFx", 1);
    const SettingsChoices opened = ReadSettingsChoices(settings, f.key, f.shell);
    ApplySettingsChoices(opened, opened, settings, f.key, f.shell);
    EXPECT_EQ(f.registry.DwordAt(kUser, kSettingsPath, "WindowFx"), 0u);
}

struct AssociationCase {
    const char* name;
    bool imgOurs, imzOurs;  // before the page opened
    int imgBox, imzBox;     // as the user leaves them
    int notices;
    bool imgAfter, imzAfter;
    bool classesWritten;
};

class AssociationChanges : public testing::TestWithParam<AssociationCase> {};

TEST_P(AssociationChanges, TouchOnlyTheTypesWhoseBoxChangedAndNotifyOnce) {
    const AssociationCase& c = GetParam();
    Fixture f(c.imgOurs, c.imzOurs);
    Settings settings;
    const SettingsChoices opened = ReadSettingsChoices(settings, f.key, f.shell);
    ASSERT_EQ(opened.registerImg, c.imgOurs ? 1 : 0);
    ASSERT_EQ(opened.registerImz, c.imzOurs ? 1 : 0);
    SettingsChoices boxes = opened;
    boxes.registerImg = c.imgBox;
    boxes.registerImz = c.imzBox;
    f.registry.log.clear();

    ApplySettingsChoices(boxes, opened, settings, f.key, f.shell);

    EXPECT_EQ(f.shell.notices, c.notices);
    bool classesWritten = false;
    size_t settingsClosed = 0, firstClasses = 0;
    for (size_t i = 0; i < f.registry.log.size(); ++i) {
        const std::string& entry = f.registry.log[i];
        if (entry == "Close" && settingsClosed == 0) settingsClosed = i;
        if (entry.rfind("Create CR", 0) == 0 && !classesWritten) {
            classesWritten = true;
            firstClasses = i;
        }
    }
    EXPECT_EQ(classesWritten, c.classesWritten);
    if (classesWritten) {
        EXPECT_LT(settingsClosed, firstClasses) << "the settings go first";
    }
    EXPECT_EQ(f.Ours(".img"), c.imgAfter);
    EXPECT_EQ(f.Ours(".imz"), c.imzAfter);
    // Another program's association is left alone unless the user ticked the box.
    if (!c.imgOurs && !c.imgBox) {
        EXPECT_EQ(f.registry.StringAt(kClasses, ".img", ""), "OtherImage");
    }
    if (!c.imzOurs && !c.imzBox) {
        EXPECT_EQ(f.registry.StringAt(kClasses, ".imz", ""), "OtherImage");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, AssociationChanges,
    testing::Values(
        AssociationCase{"OtherProgramsImgLeftUnticked", false, true, 0, 1, 0, false, true, false},
        AssociationCase{"BothOursKept", true, true, 1, 1, 0, true, true, false},
        AssociationCase{"ImzUnticked", true, true, 1, 0, 1, true, false, true},
        AssociationCase{"BothUnticked", true, true, 0, 0, 1, false, false, true},
        AssociationCase{"ImgTickedOverAnotherProgram", false, false, 1, 0, 1, true, false, true},
        AssociationCase{"BothTicked", false, false, 1, 1, 1, true, true, true},
        AssociationCase{"OneOnOneOff", true, false, 0, 1, 1, false, true, true}),
    [](const testing::TestParamInfo<AssociationCase>& param) { return std::string(param.param.name); });

TEST(ApplySettingsChoices, ARegistryThatRefusesEverythingStillChangesTheSettingsInMemory) {
    Fixture f(true, true);
    Settings settings;
    const SettingsChoices opened = ReadSettingsChoices(settings, f.key, f.shell);
    SettingsChoices boxes = opened;
    boxes.useDriveB = 1;
    boxes.sound = 0;
    boxes.registerImz = 0;
    f.registry.locked = true;

    ApplySettingsChoices(boxes, opened, settings, f.key, f.shell);

    EXPECT_STREQ(settings.FDLetter, "B:");
    EXPECT_EQ(settings.Sound, 0u);
    EXPECT_EQ(f.shell.notices, 1);
    f.registry.locked = false;
    EXPECT_FALSE(f.registry.HasValue(kUser, kSettingsPath, "Sound"));
    EXPECT_TRUE(f.Ours(".imz"));
}

}  // namespace
