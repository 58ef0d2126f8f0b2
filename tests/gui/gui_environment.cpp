#include "tests/gui/gui_environment.h"

#include <windows.h>
#include <stdlib.h>

#include "app/registry_names.h"
#include "app/version.h"
#include "platform/registry_key_win32.h"
#include "tests/gui/vorlix_driver.h"
#include "tests/support/temp_dir.h"
#include "tests/win32/mapped_floppy.h"

namespace gui {

namespace {

// A program the build names, as Wine sees it; empty where it was not built.
std::string BuiltProgram(const char* unixPath) {
    if (unixPath == nullptr) return std::string();
    std::string path = WindowsPath(unixPath);
    return FileExists(path) ? path : std::string();
}

}  // namespace

std::string VorlixProgram() {
#ifdef VORLIX_PROGRAM
    return BuiltProgram(VORLIX_PROGRAM);
#else
    return BuiltProgram(nullptr);
#endif
}

std::string SlowFloppyProgram() {
#ifdef VORLIX_SLOW_FLOPPY_PROGRAM
    return BuiltProgram(VORLIX_SLOW_FLOPPY_PROGRAM);
#else
    return BuiltProgram(nullptr);
#endif
}

std::string DriverTarget() { return WindowsPath(GUI_DRIVER_TARGET); }

std::string GuiDataFolder() {
    const char* folder = getenv("VORLIX_GUI_DIR");
    return folder ? WindowsPath(folder) : std::string();
}

std::string SampleDisk(const char* kind, int kilobytes) {
    return GuiDataFolder() + "\\" + kind + "-" + std::to_string(kilobytes) + ".img";
}

std::string ArtifactPath(const std::string& name) {
    std::string folder = GuiDataFolder() + "\\artifacts";
    CreateDirectoryA(folder.c_str(), NULL);
    return folder + "\\" + name;
}

std::string FloppyImage() { return MappedFloppyImage(); }

int InsertDisk(const std::string& disk) {
    std::string drive = FloppyImage();
    if (drive.empty() || !FileExists(disk)) return -1;
    return CopyFileA(disk.c_str(), drive.c_str(), FALSE) ? 0 : -1;
}

int PrepareProfile() {
    // Settings and the window position left by an earlier test would change what the
    // next one sees; the first-start question would stop every unattended run.
    RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKeyPath);
    RegDeleteKeyA(HKEY_CURRENT_USER, kInitKeyPath);
    SystemRegistryKey info;
    if (!info.Create(RegistryRoot::CurrentUser, kInfoKeyPath)) return -1;
    int stored = info.SetString(kVersionValue, kProgramVersion);
    info.Close();
    return stored ? 0 : -1;
}

}  // namespace gui
