#pragma once
#include <windows.h>

#include "app/job_worker_win32.h"
#include "platform/message_box_sink_win32.h"
#include "ui/modal_loop_win32.h"
#include "ui/progress_window_dialog_win32.h"
#include "ui/window_win32.h"

// The status and count lines of a job of `kind` at `progress`, each kMessageTextSize long.
using StatusLineComposer = void (*)(JobKind kind, const JobProgress& progress, char* status,
                                    char* count);

// How a program runs its jobs under a progress window.
struct JobProgressStyle {
    StatusLineComposer composeStatusLines = nullptr;
    // The loop of the window that runs the jobs, which a wait for a cancelled worker
    // stands in for: after Cancel the job's own outcome is returned once its worker has
    // stopped, with that window answering meanwhile. Null: Cancel returns cancelled at
    // once, and the caller waits for the worker (WaitForWorker) when it is ready to.
    ModalWindow* answeringLoop = nullptr;
};

// One job at a time under a modal progress window: starts the JobWorker, shows the window,
// fills it in from the worker's notices, which `notifyWindow` receives and hands on here,
// and tells how the job ended. A session end cancels it (EndSession).
class JobProgressWindow {
public:
    JobProgressWindow(const CWindow& notifyWindow, FloppyJobRunner run, FloppyDeviceFactory& devices,
                      MessageSink& workerMessages, const JobProgressStyle& style)
        : notifyWindow_(notifyWindow), style_(style), worker_(run, devices, workerMessages) {}

    // Runs `request` under `window`. Finished or failed as the job noticed its end; failed
    // (no message) when the window could not run or no thread could be started
    // (LastRunStarted tells which); after Cancel see JobProgressStyle::answeringLoop. With
    // an answering loop a Run first waits for a cancelled worker of an earlier Run, and
    // starts nothing (failed) when the loop ends meanwhile or another Run already waits.
    JobOutcome Run(const JobRequest& request, ProgressWindowDialog& window);
    bool LastRunStarted() const { return started_; }

    // A WM_READ_PROGRESS or WM_WRITE_PROGRESS notice of a job of `kind`.
    void OnNotice(JobKind kind, WPARAM notice);

    // The session is ending: a job under way is cancelled and its worker waited for
    // (bounded). True when there was one; the process should then end.
    bool EndSession() { return worker_.CancelForSessionEnd(); }

    // Waits until the worker of a cancelled job has ended (it may still be deleting a
    // partial image or finishing a unit), answering sent messages, so that the process
    // never ends under it.
    void WaitForWorker() { worker_.WaitAnsweringSentMessages(); }

private:
    // Waits for the worker while handling this thread's messages as the answering loop
    // does. False when that loop was ended meanwhile, or is to end (WM_QUIT, posted again
    // for the loops outside); the worker may then still run.
    bool WaitForWorkerAnswering(ModalWindow& loop);
    // The same, unless a wait is already under way further up the stack: false then.
    bool WaitForWorkerOnce(ModalWindow& loop);
    // After the window ended with `result` other than the job's own end.
    JobOutcome AfterWindowEnded(int result);

    const CWindow& notifyWindow_;
    const JobProgressStyle style_;
    JobWorker worker_;
    // The progress window while a job runs; null before and after, so that the notices
    // of a cancelled worker that come late touch nothing.
    ProgressWindowDialog* window_ = nullptr;
    // Whether the job's Finished or Failed ended the window, and with which result.
    bool endNoticed_ = false;
    int noticedEnd_ = static_cast<int>(JobEnd::Failed);
    // A Run is waiting for a cancelled worker: a start meanwhile is not taken.
    bool waiting_ = false;
    bool started_ = false;
};
