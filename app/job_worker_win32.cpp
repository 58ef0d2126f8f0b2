#include "app/job_worker_win32.h"

JobWorker::JobWorker(FloppyJobRunner run, FloppyDeviceFactory& devices, MessageSink& messages)
    : run_(run), devices_(devices), messages_(messages) {
    const DWORD length = GetModuleFileNameA(NULL, programPath_, sizeof programPath_);
    // A path cut short names another file; an empty one simply cannot be opened.
    if (length == 0 || length >= sizeof programPath_) {
        programPath_[0] = '\0';
    }
}

bool JobWorker::Start(const JobRequest& request, HWND notifyWindow) {
    // A cancelled job may still be finishing its last unit: it must be gone before the
    // request and the progress it reads are reset, or it would carry on beside the new one.
    WaitAnsweringSentMessages();
    request_ = request;
    notifyWindow_ = notifyWindow;
    progress_.Reset();
    cancelRequested_.store(0);
    outcome_ = JobOutcome{};  // failed, without a message, until the job has ended
    DWORD threadId = 0;
    thread_.Reset(CreateThread(NULL, 0, &ThreadMain, this, 0, &threadId));
    return thread_.Valid();
}

DWORD WINAPI JobWorker::ThreadMain(LPVOID worker) {
    JobWorker& self = *static_cast<JobWorker*>(worker);
    self.outcome_ = self.run_(self.request_, self, self.devices_);
    return 0;
}

bool JobWorker::WaitForEnd(DWORD milliseconds) {
    if (!thread_) return true;
    if (WaitForSingleObject(thread_.Get(), milliseconds) != WAIT_OBJECT_0) return false;
    thread_.Reset();
    return true;
}

bool JobWorker::WaitAnsweringSentMessages(DWORD milliseconds) {
    if (!thread_) return true;
    HANDLE thread = thread_.Get();
    const DWORD start = GetTickCount();
    for (;;) {
        DWORD left = INFINITE;
        if (milliseconds != INFINITE) {
            const DWORD spent = GetTickCount() - start;  // wraps correctly
            if (spent >= milliseconds) return false;
            left = milliseconds - spent;
        }
        const DWORD woken = MsgWaitForMultipleObjects(1, &thread, FALSE, left, QS_SENDMESSAGE);
        // Only a handle that cannot be waited for fails: there is no thread to wait for.
        if (woken == WAIT_OBJECT_0 || woken == WAIT_FAILED) break;
        if (woken == WAIT_TIMEOUT) return false;
        MSG message;
        PeekMessageA(&message, NULL, 0, 0, PM_NOREMOVE);  // delivers the sent ones
    }
    thread_.Reset();
    return true;
}

bool JobWorker::CancelForSessionEnd() {
    if (WaitForEnd(0)) return false;  // only looks
    Cancel();
    WaitAnsweringSentMessages(kSessionEndWaitMs);
    return true;
}

bool JobWorker::WaitForEndOrMessage() {
    if (!thread_) return true;
    HANDLE thread = thread_.Get();
    const DWORD woken = MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_ALLINPUT);
    if (woken == WAIT_OBJECT_0 + 1) return false;
    thread_.Reset();
    return true;
}

void JobWorker::Post(JobKind kind, JobNotice notice, const JobProgress& progress) {
    progress_.Store(progress);
    const UINT message = kind == JobKind::Read ? WM_READ_PROGRESS : WM_WRITE_PROGRESS;
    PostMessageA(notifyWindow_, message, static_cast<WPARAM>(notice), 0);
}

int64_t JobWorker::NowSeconds() {
    // 100-nanosecond units since 1601; whole seconds are all the speed needs.
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const uint64_t ticks =
        (static_cast<uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return static_cast<int64_t>(ticks / 10000000u);
}
