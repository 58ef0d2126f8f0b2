// The restorer stub's entry point, in place of the C run-time start-up code that every
// other program of ours gets. That code (exception handler, TLS callbacks, pseudo-
// relocations, its own exit table) is a sixth of the stub's size, and the stub needs
// only what is done here: the floating-point state, msvcrt's argument vector (the stub's
// command line is read from __argv), the static constructors, and exit() with
// WinMain's status, which runs the destructors and flushes msvcrt's files.
#include <windows.h>

#include <float.h>
#include <stdlib.h>

namespace {

struct MsvcrtStartupInfo {
    int newMode;
};

// What follows the program's name on the command line, as the start-up code gives it.
char* ArgumentsOf(char* line) {
    bool quoted = false;
    while (*line != '\0' && (quoted || (*line != ' ' && *line != '\t'))) {
        if (*line == '"') quoted = !quoted;
        ++line;
    }
    while (*line == ' ' || *line == '\t') ++line;
    return line;
}

int ShowCommand() {
    STARTUPINFOA startup;
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    return (startup.dwFlags & STARTF_USESHOWWINDOW) != 0 ? startup.wShowWindow : SW_SHOWDEFAULT;
}

}  // namespace

extern "C" {
int __cdecl __getmainargs(int* argc, char*** argv, char*** env, int expandWildcards,
                          MsvcrtStartupInfo* startup);
void __cdecl __set_app_type(int type);
void __main();  // runs the static constructors once and has their destructors run at exit

// What the start-up code would give __main: msvcrt's own exit table, run by exit().
int __cdecl atexit(void(__cdecl* function)(void)) {
    return _onexit(reinterpret_cast<_onexit_t>(function)) != nullptr ? 0 : -1;
}

void __cdecl StubStart() {
    constexpr int kGuiApp = 2;
    __set_app_type(kGuiApp);
    _fpreset();  // the x87 state the start-up code sets for every other program of ours
    int argc = 0;
    char** argv = nullptr;
    char** env = nullptr;
    MsvcrtStartupInfo startup = {0};
    __getmainargs(&argc, &argv, &env, 0, &startup);
    __main();
    exit(WinMain(GetModuleHandleA(nullptr), nullptr, ArgumentsOf(GetCommandLineA()), ShowCommand()));
}
}
