#pragma once
#include <windows.h>
#include <stdint.h>

#include <atomic>

#include "engine/job/floppy_job_runner.h"
#include "engine/job/progress_sync.h"
#include "platform/handles_win32.h"

// The notices a job's worker posts to its window, with the JobNotice as the first
// parameter and 0 as the second. The numbers are the application's own (WM_APP + 1, + 2).
constexpr UINT WM_READ_PROGRESS = 0x8001;
constexpr UINT WM_WRITE_PROGRESS = 0x8002;

// Runs one job at a time on a worker thread of its own, for a window that shows it, and
// is the job's host there: the job's messages go to the given sink (one that keeps no
// state, such as message boxes), its notices are posted to the window after its
// progress has been stored under a lock, its settings are the request's, time is the
// system clock and files go with DeleteFileA. The worker thread alone touches the device
// and the image file; the window thread starts, cancels, reads the progress and, once
// the thread has ended, the outcome.
class JobWorker final : private JobHost {
public:
    // `run` runs the request (RunFloppyJob, or one job only) over `devices`.
    JobWorker(FloppyJobRunner run, FloppyDeviceFactory& devices, MessageSink& messages);
    // The thread must be done with this object first; the one that destroys it goes on
    // answering the messages sent to its windows meanwhile.
    ~JobWorker() { WaitAnsweringSentMessages(); }
    JobWorker(const JobWorker&) = delete;
    JobWorker& operator=(const JobWorker&) = delete;

    // Starts `request` for `notifyWindow`, once the thread of the previous job has ended.
    // False when no thread could be started.
    bool Start(const JobRequest& request, HWND notifyWindow);

    // The job stops after its current unit, without Finished or Failed.
    void Cancel() { cancelRequested_.store(1); }

    // The session is ending (WM_ENDSESSION): a job still under way is cancelled and its
    // thread given up to kSessionEndWaitMs to stop after its unit, answering sent messages
    // meanwhile, so that the job leaves its target as a cancel does before the process
    // goes. False when no job was running.
    bool CancelForSessionEnd();
    // About what Windows grants a program before it offers to end it anyway.
    static constexpr DWORD kSessionEndWaitMs = 5000;

    // The newest progress the job has posted.
    JobProgress Progress() const { return progress_.Load(); }

    // Waits at most `milliseconds` for the thread of the last job; true when none is left.
    // Not for a window's thread: its windows would not answer meanwhile.
    bool WaitForEnd(DWORD milliseconds);
    // Waits for it, answering the messages sent to this thread's windows meanwhile: a
    // job's message box may be owned by one of them. With a bound, false when the thread
    // still runs after `milliseconds`.
    bool WaitAnsweringSentMessages(DWORD milliseconds = INFINITE);
    // Waits until the thread of the last job has ended (true) or a new message has come
    // into this thread's queue (false), for a caller that handles the messages in between
    // as its window's loop would. Messages already in the queue when it is called do not
    // count: the caller takes them out first.
    bool WaitForEndOrMessage();

    // How the last job ended; meaningful once its thread has ended.
    JobOutcome Outcome() const { return outcome_; }

private:
    static DWORD WINAPI ThreadMain(LPVOID worker);

    // JobHost, on the worker thread.
    MessageSink& Messages() override { return messages_; }
    void Post(JobKind kind, JobNotice notice, const JobProgress& progress) override;
    bool CancelRequested() override { return cancelRequested_.load() != 0; }
    int64_t NowSeconds() override;
    const char* ProgramPath() override { return programPath_; }

    FloppyJobRunner run_;
    FloppyDeviceFactory& devices_;
    MessageSink& messages_;
    char programPath_[MAX_PATH];

    // Between the two threads, one job at a time.
    JobRequest request_;
    HWND notifyWindow_ = NULL;
    ProgressSync progress_;
    std::atomic<uint32_t> cancelRequested_{0};  // set by the window thread, read per unit
    JobOutcome outcome_;
    UniqueHandle thread_;
};
