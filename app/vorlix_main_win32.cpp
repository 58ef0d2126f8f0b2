// The application object and the program's entry point.
#include <windows.h>

#include <commctrl.h>
#include <stdlib.h>

#include "app/command_line.h"
#include "app/detect_platform.h"
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
    // Runs the whole program; false in every case, so the process ends when it returns.
    bool InitInstance();
};

bool VorlixApp::InitInstance() {
    InitCommonControls();
    ThePlatform() = DetectPlatform();
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
    MainDialog dialog;
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

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    VorlixApp app;
    app.InitInstance();
    return 0;
}
