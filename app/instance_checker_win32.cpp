#include "app/instance_checker_win32.h"

#include <stdint.h>
#include <string.h>

#include <utility>

namespace {

const char kBlockPrefix[] = "CInstanceChecker_MMF_";

// The published block's section, open for the rest of the process's life: the block
// exists exactly as long as the instance that published it. Constant-initialised, so it
// is there before any code runs and is closed when the process ends.
UniqueHandle g_publishedBlock;

// The block holds a 32-bit window handle, the width of HWND on the systems we run on.
void StoreWindow(void* block, HWND window) {
    uint32_t value = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(window));
    memcpy(block, &value, sizeof value);
}

HWND LoadWindow(const void* block) {
    uint32_t value;
    memcpy(&value, block, sizeof value);
    return reinterpret_cast<HWND>(static_cast<uintptr_t>(value));
}

void ActivateAndSend(HWND window, const char* text) {
    HWND popup = GetLastActivePopup(window);
    if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
    SetForegroundWindow(popup != NULL ? popup : window);
    if (text == NULL || text[0] == '\0') return;
    COPYDATASTRUCT data;
    data.dwData = 0;
    data.cbData = static_cast<DWORD>(strlen(text) + 1);
    data.lpData = const_cast<char*>(text);
    SendMessageA(window, WM_COPYDATA, 1, reinterpret_cast<LPARAM>(&data));
}

}  // namespace

CInstanceChecker::CInstanceChecker(const char* mutexName, const char* applicationTitle)
    : mutex_(CreateMutexA(NULL, FALSE, mutexName)) {
    // A truncated name could be another program's block: no name rather than a wrong one.
    size_t prefixLength = sizeof kBlockPrefix - 1;
    size_t titleLength = strlen(applicationTitle);
    if (prefixLength + titleLength < sizeof blockName_) {
        memcpy(blockName_, kBlockPrefix, prefixLength);
        memcpy(blockName_ + prefixLength, applicationTitle, titleLength + 1);
    }
}

CInstanceChecker::~CInstanceChecker() {
    EndStartupLock();
}

const char* CInstanceChecker::SharedBlockName() const {
    return blockName_;
}

HWND CInstanceChecker::WindowToPublish() const {
    return mainWindow_;
}

void CInstanceChecker::BeginStartupLock(DWORD milliseconds) {
    // Taking the mutex twice would need two releases, and waiting starts would hang.
    if (startupLock_.Held()) return;
    startupLock_.Acquire(mutex_.Get(), milliseconds);
}

void CInstanceChecker::EndStartupLock() {
    startupLock_.Release();
}

bool CInstanceChecker::IsOtherInstanceRunning() const {
    const char* name = SharedBlockName();
    if (name[0] == '\0') return false;
    UniqueHandle block(OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, name));
    return block.Valid();
}

bool CInstanceChecker::PublishMainWindow() {
    const char* name = SharedBlockName();
    // Without a name the section would be anonymous: nobody could find it.
    if (name[0] == '\0' || IsOtherInstanceRunning()) return false;
    SetLastError(ERROR_SUCCESS);
    UniqueHandle block(CreateFileMappingA(INVALID_HANDLE_VALUE, NULL, PAGE_READWRITE, 0,
                                          sizeof(uint32_t), name));
    // An existing block belongs to an instance that published in the meantime.
    if (!block || GetLastError() == ERROR_ALREADY_EXISTS) return false;
    {
        MappedView view(MapViewOfFile(block.Get(), FILE_MAP_READ | FILE_MAP_WRITE, 0, 0,
                                      sizeof(uint32_t)));
        // A block that cannot hold the window must not be found: later starts would
        // read nothing from it and end without reaching anyone.
        if (!view) return false;
        StoreWindow(view.Get(), WindowToPublish());
    }
    g_publishedBlock = std::move(block);
    EndStartupLock();
    return true;
}

HWND CInstanceChecker::HandOverToRunningInstance(const char* text) {
    const char* name = SharedBlockName();
    if (name[0] == '\0') return NULL;
    UniqueHandle block(OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, name));
    if (!block) return NULL;
    MappedView view(MapViewOfFile(block.Get(), FILE_MAP_READ | FILE_MAP_WRITE, 0, 0,
                                  sizeof(uint32_t)));
    if (!view) {
        EndStartupLock();
        return NULL;
    }
    HWND window = LoadWindow(view.Get());
    if (window != NULL) ActivateAndSend(window, text);
    return window;
}
