#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "ui/job_fields.h"

// The worker's notices to the main dialog (the first parameter is the JobNotice).
constexpr UINT kReadProgressMessage = 0x8001;
constexpr UINT kWriteProgressMessage = 0x8002;

// One job's progress as the main dialog shows it.
struct JobProgress {
    unsigned percent = 0;
    unsigned kilobytes = 0;
    std::string speed;
    std::string size;
};

// The bridge between the main dialog and a job's worker thread: the job's status record,
// filled from the dialog's fields when a job starts, the worker entry, the cancel flag and
// the progress the worker reports.
class JobLaunch {
public:
    JobLaunch();
    ~JobLaunch();
    JobLaunch(const JobLaunch&) = delete;
    JobLaunch& operator=(const JobLaunch&) = delete;

    // Resets the progress and the cancel flag and copies the fields in; `notify` receives
    // the notices.
    void Prepare(JobKind kind, const JobFields& fields, HWND notify);
    LPTHREAD_START_ROUTINE Entry(JobKind kind) const;
    void* Argument();
    void RequestCancel();
    JobProgress Progress();

private:
    struct Record;
    std::unique_ptr<Record> record_;
};
