// The application object: start-up, the main dialog, and the end of the process. Each
// build of the program has an entry point of its own that chooses the floppy devices:
// platform_floppy_main_win32.cpp for vorlix.exe.
#include "program/vorlix_main_win32.h"

#include <windows.h>

#include <commctrl.h>
#include <stdlib.h>

#include <string>
#include <utility>
#include <vector>

#include "app/command_line.h"
#include "app/exit_status.h"
#include "app/hand_over_win32.h"
#include "app/instance_checker_win32.h"
#include "app/settings.h"
#include "app/settings_store.h"
#include "app/version_check.h"
#include "platform/application_title_win32.h"
#include "platform/message_box_sink_win32.h"
#include "platform/registry_key_win32.h"
#include "platform/shell_environment_win32.h"
#include "program/main_dialog_win32.h"

namespace {

class VorlixApp {
public:
    // The command line is read here once; everything after start-up gets it from here.
    VorlixApp(FloppyDeviceFactory& devices, std::vector<std::string> words)
        : devices_(devices),
          words_(std::move(words)),
          shell_(words_.empty() ? nullptr : words_[0].c_str()),
          checker_("VX", ApplicationTitle().Text()) {}

    // Runs the whole program and gives the process's exit status.
    int InitInstance(const PlatformInfo& platform);

private:
    int HandOverCommandLine();
    int RunMainDialog(const CommandLineRequest& request);

    FloppyDeviceFactory& devices_;
    const std::vector<std::string> words_;
    SystemShell shell_;
    CInstanceChecker checker_;
};

// A later start: the running instance comes forward and gets this start's image. 3 when
// it was reached with all there was to hand over; 1 when it had gone in the meantime or
// the image's full path could not be made, so that no job reached it.
int VorlixApp::HandOverCommandLine() {
    const std::optional<std::string> text = FullHandOverText(words_);
    const HWND running = checker_.HandOverToRunningInstance(text ? text->c_str() : "");
    return text && running != NULL ? kExitHandedOver : kExitJobNotDone;
}

// The main dialog, or the one unattended job it runs as it opens: then the job's status
// (help or a refused image -1, else the job's own), once its worker has ended.
int VorlixApp::RunMainDialog(const CommandLineRequest& request) {
    MainDialog dialog(devices_, checker_, shell_, request);
    dialog.DoModal();
    const std::optional<int> status = dialog.StartStatus();
    return status ? *status : kExitJobDone;
}

int VorlixApp::InitInstance(const PlatformInfo& platform) {
    InitCommonControls();
    ThePlatform() = platform;
    {
        SystemRegistryKey key;
        LoadSettings(key, ThePlatform(), TheSettings());
    }
    {
        SystemRegistryKey key;
        MessageBoxSink sink;
        CheckInstalledVersion(key, shell_, sink);
    }
    checker_.BeginStartupLock();
    const bool otherRunning = checker_.IsOtherInstanceRunning();
    if (otherRunning && !RunsBesideRunningInstance(words_)) {
        const int status = HandOverCommandLine();
        CWindow::SetMainWindow(NULL);
        return status;
    }
    // A check or a conversion uses no drive: it runs here, beside the running instance,
    // publishes nothing, and holds up no later start meanwhile.
    if (otherRunning) checker_.EndStartupLock();
    const CommandLineRequest request = InterpretCommandLine(words_, TheSettings());
    const int status = RunMainDialog(request);
    checker_.EndStartupLock();
    return status;
}

}  // namespace

int RunVorlix(const PlatformInfo& platform, FloppyDeviceFactory& devices) {
    VorlixApp app(devices, CommandLineWords(__argc, __argv));
    return app.InitInstance(platform);
}
