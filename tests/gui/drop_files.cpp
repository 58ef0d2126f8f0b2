#include <windows.h>
#include <shlobj.h>

#include <vector>

#include "tests/gui/vorlix_driver.h"

namespace gui {

// The shell hands a drop over as an HDROP: a global memory block holding a DROPFILES
// header and the paths, each NUL-terminated, with one more NUL at the end. A block of
// ours means nothing in the target's address space (under Wine 8 a posted HDROP of the
// sender's reads as a drop of no files), so the block is written into the target. A fixed block's handle is its address, and GlobalLock on such an address gives
// the address back, so DragQueryFileA in the target reads it as the shell's own. The
// target's DragFinish cannot free memory that its heap did not give out; Wine refuses
// that quietly and the few bytes stay until the target ends.
int DropFiles(HWND window, const std::vector<std::string>& files) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    UniqueHandle target(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid));
    if (!target) return -1;

    std::vector<char> block(sizeof(DROPFILES), '\0');
    auto* header = reinterpret_cast<DROPFILES*>(block.data());
    header->pFiles = sizeof(DROPFILES);
    header->fWide = FALSE;
    for (const std::string& file : files) {
        block.insert(block.end(), file.begin(), file.end());
        block.push_back('\0');
    }
    block.push_back('\0');

    void* remote = VirtualAllocEx(target.Get(), NULL, block.size(), MEM_COMMIT | MEM_RESERVE,
                                  PAGE_READWRITE);
    if (remote == nullptr) return -1;
    SIZE_T written = 0;
    if (!WriteProcessMemory(target.Get(), remote, block.data(), block.size(), &written) ||
        written != block.size()) {
        VirtualFreeEx(target.Get(), remote, 0, MEM_RELEASE);
        return -1;
    }
    return PostMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0) ? 0 : -1;
}

}  // namespace gui
