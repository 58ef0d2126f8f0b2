#include "platform/shell_environment_win32.h"

#include <shlobj.h>
#include <windows.h>

#include "platform/program_path.h"

namespace {

std::string ModuleFileName() {
    char path[MAX_PATH + 1];
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path) {
        return std::string();
    }
    return std::string(path, length);
}

}  // namespace

SystemShell::SystemShell(const char* wordZero)
    : programPath_(ChooseProgramPath(wordZero, ModuleFileName())) {}

void SystemShell::AssociationsChanged() {
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}
