// The restorer stub's application object and entry point. The stub is a program of its
// own that travels at the front of every self-extracting image and writes that image's
// payload onto a floppy disk.
#include <windows.h>

#include <commctrl.h>

#include "stub/restore_dialog_win32.h"

namespace {

class RestorerApp {
public:
    // Runs the whole program and gives its exit status.
    int InitInstance();
};

uint32_t IsNtPlatform() {
    OSVERSIONINFOA version;
    ZeroMemory(&version, sizeof version);
    version.dwOSVersionInfoSize = sizeof version;
    return GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT ? 1 : 0;
}

int RestorerApp::InitInstance() {
    InitCommonControls();
    RestoreDialog dialog(IsNtPlatform());
    CInstanceChecker& checker = dialog.InstanceChecker();
    checker.BeginStartupLock();
    if (checker.IsOtherInstanceRunning()) {
        // Nothing to hand over: the running stub is simply brought forward, and this
        // start has written nothing.
        checker.HandOverToRunningInstance("");
        return 1;
    }
    dialog.DoModal();
    return dialog.ExitCode();
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    RestorerApp app;
    return app.InitInstance();
}
