#include "ui/job_launch_win32.h"

// Placeholder until the job engine's worker entries are in: every job fails at once.
struct JobLaunch::Record {
    HWND notify = NULL;
    JobKind kind = JobKind::Read;
};

namespace {
DWORD WINAPI NoJob(void* argument) {
    auto* record = static_cast<HWND*>(argument);
    PostMessageA(*record, kReadProgressMessage, 2, 0);
    return 0;
}
}  // namespace

JobLaunch::JobLaunch() : record_(new Record) {}
JobLaunch::~JobLaunch() = default;

void JobLaunch::Prepare(JobKind kind, const JobFields&, HWND notify) {
    record_->kind = kind;
    record_->notify = notify;
}

LPTHREAD_START_ROUTINE JobLaunch::Entry(JobKind) const {
    return NoJob;
}

void* JobLaunch::Argument() {
    return &record_->notify;
}

void JobLaunch::RequestCancel() {}

JobProgress JobLaunch::Progress() {
    return JobProgress();
}
