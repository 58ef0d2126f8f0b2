#include "platform/registry_key_win32.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "app/file_types.h"
#include "app/registry_names.h"
#include "app/settings_store.h"
#include "app/version_check.h"
#include "app/window_position.h"
#include "platform/shell_environment_win32.h"
#include "tests/support/fake_shell.h"
#include "tests/support/recording_sink.h"
#include "tests/support/registry_contract.h"

// Against the real registry of the private Wine prefix. Scratch keys live under
// HKCU\Software\VorlixTest; the program's own keys are removed before and after.
namespace {

const char kScratch[] = "Software\\VorlixTest";

// Deletes a key with everything below it (RegDeleteTree is newer than our headers).
void DeleteTree(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) {
        return;
    }
    char name[256];
    DWORD size = sizeof name;
    while (RegEnumKeyExA(key, 0, name, &size, nullptr, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS) {
        DeleteTree(key, name);
        size = sizeof name;
    }
    RegCloseKey(key);
    RegDeleteKeyA(root, path.c_str());
}

bool KeyExists(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

// A value as the registry holds it: its type and bytes, or type REG_NONE when missing.
struct Raw {
    DWORD type = REG_NONE;
    std::string bytes;
};

Raw Query(HKEY root, const std::string& path, const char* name) {
    Raw raw;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return raw;
    }
    char data[1024];
    DWORD size = sizeof data;
    DWORD type = REG_NONE;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size) ==
        ERROR_SUCCESS) {
        raw.type = type;
        raw.bytes.assign(data, size);
    }
    RegCloseKey(key);
    return raw;
}

Raw Sz(const std::string& text) {
    return Raw{REG_SZ, text + '\0'};
}

Raw Dword(uint32_t value) {
    return Raw{REG_DWORD, std::string(reinterpret_cast<const char*>(&value), 4)};
}

void ExpectRaw(const Raw& actual, const Raw& expected, const char* what) {
    EXPECT_EQ(actual.type, expected.type) << what;
    EXPECT_EQ(actual.bytes, expected.bytes) << what;
}

DWORD ValueCount(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    DWORD values = 0xFFFF;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
        RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                         nullptr, nullptr, nullptr, nullptr);
        RegCloseKey(key);
    }
    return values;
}

void PlantRaw(const std::string& path, const std::string& name, uint32_t type,
              const std::string& bytes) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(
        RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                       static_cast<DWORD>(bytes.size())),
        ERROR_SUCCESS);
    RegCloseKey(key);
}

const char* const kClassKeys[] = {".img", ".imz", "VorlixFile", "VorlixCompressedFile"};

class SystemRegistry : public testing::Test {
protected:
    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); }

    static void Clean() {
        DeleteTree(HKEY_CURRENT_USER, kScratch);
        DeleteTree(HKEY_CURRENT_USER, "Software\\Quendal Software");
        for (const char* path : kClassKeys) {
            DeleteTree(HKEY_CLASSES_ROOT, path);
        }
    }

    SystemRegistryKey key;
};

}  // namespace

TEST_F(SystemRegistry, KeepsTheKeyContract) {
    ExpectKeyContract(key, std::string(kScratch) + "\\Contract");
}

TEST_F(SystemRegistry, ReadsStoredValuesAsTheMemoryStoreDoes) {
    ExpectStoredValuesRead(key, std::string(kScratch) + "\\Values", PlantRaw);
}

TEST_F(SystemRegistry, OneObjectServesASequenceOfRoots) {
    ASSERT_EQ(key.Create(RegistryRoot::ClassesRoot, "VorlixFile\\Shell"), 1);
    EXPECT_EQ(key.SetString("", "classes"), 1);
    EXPECT_EQ(key.Close(), 1);
    ASSERT_EQ(key.Create(RegistryRoot::CurrentUser, kScratch), 1);
    EXPECT_EQ(key.SetString("", "user"), 1);
    EXPECT_EQ(key.Close(), 1);
    EXPECT_EQ(key.Close(), 0);
    ExpectRaw(Query(HKEY_CLASSES_ROOT, "VorlixFile\\Shell", ""), Sz("classes"), "classes root");
    ExpectRaw(Query(HKEY_CURRENT_USER, kScratch, ""), Sz("user"), "current user");
}

TEST_F(SystemRegistry, FreshProfileLoadsDefaultsAndLeavesAnEmptySettingsKey) {
    PlatformInfo platform;
    platform.ntMajorVersion = 5;
    Settings settings;
    settings.Sound = 0;
    LoadSettings(key, platform, settings);
    EXPECT_STREQ(settings.FDLetter, "A:");
    EXPECT_EQ(settings.WindowFx, 1u);
    EXPECT_EQ(settings.Sound, 1u);
    EXPECT_EQ(settings.Compatible + settings.Emergency + settings.Suppress, 0u);
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "Software\\Quendal Software\\Vorlix\\Settings"));
    EXPECT_EQ(ValueCount(HKEY_CURRENT_USER, kSettingsKeyPath), 0u);
}

TEST_F(SystemRegistry, SavedSettingsLandAsTypedValuesAndLoadBack) {
    Settings saved;
    strcpy(saved.FDLetter, "B:");
    saved.WindowFx = 0;
    saved.Compatible = 1;
    saved.Sound = 0;
    saved.Emergency = 1;
    saved.Suppress = 1;
    SaveSettings(key, saved);
    const std::string path = kSettingsKeyPath;
    ExpectRaw(Query(HKEY_CURRENT_USER, path, "FDLetter"), Sz("B:"), "FDLetter");
    ExpectRaw(Query(HKEY_CURRENT_USER, path, "WindowFx"), Dword(0), "WindowFx");
    ExpectRaw(Query(HKEY_CURRENT_USER, path, "Compatible"), Dword(1), "Compatible");
    ExpectRaw(Query(HKEY_CURRENT_USER, path, "Sound"), Dword(0), "Sound");
    ExpectRaw(Query(HKEY_CURRENT_USER, path, "Emergency"), Dword(1), "Emergency");
    ExpectRaw(Query(HKEY_CURRENT_USER, path, "Suppress"), Dword(1), "Suppress");

    PlatformInfo platform;
    platform.ntMajorVersion = 6;
    Settings loaded;
    LoadSettings(key, platform, loaded);
    EXPECT_STREQ(loaded.FDLetter, "B:");
    EXPECT_EQ(loaded.Compatible, 1u);
    EXPECT_EQ(loaded.Sound, 0u);
    EXPECT_EQ(loaded.Emergency, 1u);
    EXPECT_EQ(loaded.Suppress, 1u);
}

TEST_F(SystemRegistry, HandEditedValuesLoadSafely) {
    const std::string path = kSettingsKeyPath;
    PlantRaw(path, "FDLetter", REG_SZ, std::string("c:", 3));
    PlantRaw(path, "Sound", REG_SZ, std::string("0", 2));  // its bytes, 0x30, are non-zero
    PlantRaw(path, "Suppress", REG_BINARY, std::string("\x01\x02\x03\x04\x05", 5));
    PlantRaw(path, "WindowFx", REG_DWORD, std::string("\x02\0\0\0", 4));
    PlatformInfo platform;
    platform.ntMajorVersion = 5;
    Settings loaded;
    LoadSettings(key, platform, loaded);
    EXPECT_STREQ(loaded.FDLetter, "A:");
    EXPECT_EQ(loaded.Sound, 1u);
    EXPECT_EQ(loaded.Suppress, 0u);
    EXPECT_EQ(loaded.WindowFx, 1u);
}

TEST_F(SystemRegistry, FileTypesLandUnderTheClassesRoot) {
    FakeShell shell("C:\\Program Files\\Vorlix\\Vorlix.exe");
    HKEY old = nullptr;
    ASSERT_EQ(
        RegCreateKeyExA(HKEY_CLASSES_ROOT, "VorlixFile\\Shell\\write image to floppy disk\\command",
                        0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &old, nullptr),
        ERROR_SUCCESS);
    RegCloseKey(old);

    RegisterAllTypes(key, shell);

    const std::string program = "\"C:\\Program Files\\Vorlix\\Vorlix.exe\"";
    ExpectRaw(Query(HKEY_CLASSES_ROOT, ".img", ""), Sz("VorlixFile"), ".img");
    ExpectRaw(Query(HKEY_CLASSES_ROOT, ".imz", ""), Sz("VorlixCompressedFile"), ".imz");
    ExpectRaw(Query(HKEY_CLASSES_ROOT, "VorlixFile\\DefaultIcon", ""),
              Sz("C:\\Program Files\\Vorlix\\Vorlix.exe,1"), "img icon");
    ExpectRaw(Query(HKEY_CLASSES_ROOT, "VorlixCompressedFile\\DefaultIcon", ""),
              Sz("C:\\Program Files\\Vorlix\\Vorlix.exe,2"), "imz icon");
    ExpectRaw(Query(HKEY_CLASSES_ROOT, "VorlixFile\\Shell\\open", ""), Sz("&Open"), "open");
    ExpectRaw(Query(HKEY_CLASSES_ROOT, "VorlixFile\\Shell\\open\\command", ""),
              Sz(program + " \"%1\""), "open command");
    ExpectRaw(
        Query(HKEY_CLASSES_ROOT, "VorlixCompressedFile\\Shell\\write_image_to_floppy_disk", ""),
        Sz("&Write Image to Floppy Disk"), "write");
    ExpectRaw(Query(HKEY_CLASSES_ROOT,
                    "VorlixCompressedFile\\Shell\\write_image_to_floppy_disk\\command", ""),
              Sz(program + " /W \"%1\""), "write command");
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "VorlixFile\\Shell\\write image to floppy disk"));
    EXPECT_FALSE(
        KeyExists(HKEY_CLASSES_ROOT, "VorlixCompressedFile\\Shell\\write image to floppy disk"));

    EXPECT_TRUE(IsTypeAssociated(key, shell, ".img"));
    FakeShell otherCase("c:\\program files\\vorlix\\vorlix.exe");
    EXPECT_FALSE(IsTypeAssociated(key, otherCase, ".img"));
}

TEST_F(SystemRegistry, UnregisteringKeepsTheProgIdAndOtherProgramsKeys) {
    FakeShell shell("C:\\Vorlix\\Vorlix.exe");
    RegisterAllTypes(key, shell);
    HKEY shellNew = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, ".img\\ShellNew", 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &shellNew, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(shellNew);

    RegisterImgType(key, shell, false);
    RegisterImzType(key, shell, false);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ".imz"));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, ".img\\ShellNew"));
    EXPECT_EQ(Query(HKEY_CLASSES_ROOT, ".img", "").type, static_cast<DWORD>(REG_NONE));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "VorlixCompressedFile\\Shell\\open\\command"));
    EXPECT_FALSE(IsTypeAssociated(key, shell, ".img"));
    EXPECT_FALSE(IsTypeAssociated(key, shell, ".imz"));

    RegisterImzType(key, shell, true);
    EXPECT_TRUE(IsTypeAssociated(key, shell, ".imz"));
}

TEST_F(SystemRegistry, FirstStartStoresTheVersionAsAString) {
    FakeShell shell("C:\\Vorlix\\Vorlix.exe");
    RecordingSink sink;
    sink.answers = {MessageAnswer::No};
    CheckInstalledVersion(key, shell, sink);
    CheckInstalledVersion(key, shell, sink);
    EXPECT_EQ(sink.shown.size(), 1u);
    ExpectRaw(Query(HKEY_CURRENT_USER, kInfoKeyPath, "Version"), Sz("1.5.2"), "Version");
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ".img"));
}

TEST_F(SystemRegistry, WindowPositionLandsAsNumbers) {
    WindowCorner corner;
    corner.left = -1024;
    corner.top = 32;
    WriteWindowPosition(key, corner);
    ExpectRaw(Query(HKEY_CURRENT_USER, kInitKeyPath, "HorizPos"), Dword(0xFFFFFC00u), "HorizPos");
    ExpectRaw(Query(HKEY_CURRENT_USER, kInitKeyPath, "VertPos"), Dword(32), "VertPos");
    const std::optional<WindowCorner> loaded = ReadWindowPosition(key);
    ASSERT_TRUE(loaded.has_value());
    EXPECT_EQ(loaded->left, -1024);
    EXPECT_EQ(loaded->top, 32);
}

TEST(SystemShell, NamesThisProgramByItsFullPath) {
    SystemShell shell(__argc > 0 ? __argv[0] : nullptr);
    const std::string path = shell.ProgramPath();
    ASSERT_GT(path.size(), 3u);
    EXPECT_EQ(path[1], ':');
    EXPECT_EQ(path[2], '\\');
    EXPECT_EQ(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u) << path;
    EXPECT_NE(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES) << path;
    shell.AssociationsChanged();  // must simply return
}
