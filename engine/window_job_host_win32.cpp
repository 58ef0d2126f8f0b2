#include "engine/window_job_host_win32.h"

#include <stdlib.h>

WindowJobHost::WindowJobHost(JobContext& context, MessageSink& messages,
                             const Settings& settings)
    : context_(context), messages_(messages), settings_(settings) {
    const DWORD length = GetModuleFileNameA(NULL, programPath_, sizeof programPath_);
    // A path cut short names another file; an empty one simply cannot be opened.
    if (length == 0 || length >= sizeof programPath_) {
        programPath_[0] = '\0';
    }
    // The GUI tests slow a job down so that it can be watched and cancelled; a disk image
    // behind a drive letter is otherwise read faster than a window can be found.
    char delay[16];
    const DWORD delayLength = GetEnvironmentVariableA("VORLIX_TEST_UNIT_DELAY_MS", delay, sizeof delay);
    if (delayLength > 0 && delayLength < sizeof delay) {
        unitDelayMs_ = static_cast<DWORD>(strtoul(delay, NULL, 10));
        if (unitDelayMs_ > 1000) unitDelayMs_ = 1000;
    }
}

void WindowJobHost::Post(JobKind kind, JobNotice notice, const JobProgress& progress) {
    if (notice == JobNotice::Progress && unitDelayMs_ != 0) {
        Sleep(unitDelayMs_);
    }
    context_.progress.Store(progress);
    const UINT message = kind == JobKind::Read ? WM_READ_PROGRESS : WM_WRITE_PROGRESS;
    PostMessageA(static_cast<HWND>(context_.notifyWindow), message,
                 static_cast<WPARAM>(notice), 0);
}

int64_t WindowJobHost::NowSeconds() {
    // 100-nanosecond units since 1601; whole seconds are all the speed needs.
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const uint64_t ticks =
        (static_cast<uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return static_cast<int64_t>(ticks / 10000000u);
}
