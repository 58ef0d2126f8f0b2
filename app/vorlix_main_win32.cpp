// The application object: start-up, the main dialog, and the end of the process. Each
// build of the program has an entry point of its own that chooses the floppy devices:
// platform_floppy_main_win32.cpp for vorlix.exe.
#include "app/vorlix_main_win32.h"

#include <windows.h>

#include <commctrl.h>
#include <stdlib.h>

#include "app/command_line.h"
#include "app/message_box_sink_win32.h"
#include "app/registry_key_win32.h"
#include "app/settings.h"
#include "app/settings_store.h"
#include "app/shell_environment_win32.h"
#include "app/version_check.h"
#include "ui/main_dialog_win32.h"

namespace {

class VorlixApp {
public:
    explicit VorlixApp(FloppyDeviceFactory& devices) : devices_(devices) {}

    // Runs the whole program; false in every case, so the process ends when it returns.
    bool InitInstance(const PlatformInfo& platform);

private:
    FloppyDeviceFactory& devices_;
};

bool VorlixApp::InitInstance(const PlatformInfo& platform) {
    InitCommonControls();
    ThePlatform() = platform;
    {
        SystemRegistryKey key;
        LoadSettings(key, ThePlatform(), TheSettings());
    }
    {
        SystemRegistryKey key;
        SystemShell shell;
        MessageBoxSink sink;
        CheckInstalledVersion(key, shell, sink);
    }
    MainDialog dialog(devices_);
    CInstanceChecker& checker = dialog.InstanceChecker();
    checker.BeginStartupLock();
    if (checker.IsOtherInstanceRunning()) {
        const std::vector<std::string> words = CommandLineWords(__argc, __argv);
        checker.HandOverToRunningInstance(HandOverText(words).c_str());
        CWindow::SetMainWindow(NULL);
    } else {
        dialog.DoModal();
    }
    return false;
}

}  // namespace

int RunVorlix(const PlatformInfo& platform, FloppyDeviceFactory& devices) {
    VorlixApp app(devices);
    app.InitInstance(platform);
    return 0;
}
