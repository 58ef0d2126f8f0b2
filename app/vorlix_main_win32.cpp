// The application object: start-up, the main dialog, and the end of the process. Each
// build of the program has an entry point of its own that chooses the floppy devices:
// platform_floppy_main_win32.cpp for vorlix.exe.
#include "app/vorlix_main_win32.h"

#include <windows.h>

#include <commctrl.h>
#include <stdlib.h>

#include "app/command_line.h"
#include "app/exit_status.h"
#include "app/hand_over_win32.h"
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

    // The exit status of a run that InitInstance returned from. A command-line job ends
    // the process from inside the main dialog with a status of its own.
    int ExitStatus() const { return exitStatus_; }

private:
    FloppyDeviceFactory& devices_;
    int exitStatus_ = kExitJobDone;
};

// A later start: the running instance comes forward and gets this start's image. 3 when
// it was reached with all there was to hand over; 1 when it had gone in the meantime or
// the image's full path could not be made, so that no job reached it.
int HandOverCommandLine(CInstanceChecker& checker) {
    const std::optional<std::string> text = FullHandOverText(CommandLineWords(__argc, __argv));
    const HWND running = checker.HandOverToRunningInstance(text ? text->c_str() : "");
    return text && running != NULL ? kExitHandedOver : kExitJobNotDone;
}

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
    const bool otherRunning = checker.IsOtherInstanceRunning();
    if (otherRunning && !RunsBesideRunningInstance(CommandLineWords(__argc, __argv))) {
        exitStatus_ = HandOverCommandLine(checker);
        CWindow::SetMainWindow(NULL);
    } else {
        // A check or a conversion uses no drive: it runs here, beside the running
        // instance, publishes nothing, and holds up no later start meanwhile.
        if (otherRunning) checker.EndStartupLock();
        dialog.DoModal();
    }
    return false;
}

}  // namespace

int RunVorlix(const PlatformInfo& platform, FloppyDeviceFactory& devices) {
    VorlixApp app(devices);
    app.InitInstance(platform);
    return app.ExitStatus();
}
