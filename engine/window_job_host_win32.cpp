#include "engine/window_job_host_win32.h"

WindowJobHost::WindowJobHost(JobContext& context, MessageSink& messages,
                             const Settings& settings)
    : context_(context), messages_(messages), settings_(settings) {
    const DWORD length = GetModuleFileNameA(NULL, programPath_, sizeof programPath_);
    // A path cut short names another file; an empty one simply cannot be opened.
    if (length == 0 || length >= sizeof programPath_) {
        programPath_[0] = '\0';
    }
}

void WindowJobHost::Post(JobKind kind, JobNotice notice, const JobProgress& progress) {
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
