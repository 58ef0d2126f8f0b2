#pragma once
#include <windows.h>

#include "app/job_worker_win32.h"
#include "app/message_box_sink_win32.h"
#include "ui/job_fields.h"
#include "ui/modal_loop_win32.h"
#include "ui/window_win32.h"

class ProgressDialog;

// The main dialog's side of a job: the job worker, the modal progress dialog while the
// job runs, and the worker's notices, which the main dialog's window receives and hands
// on here.
class MainDialogJobs {
public:
    // `dialog` is the main dialog, the progress dialog's owner and the notices' window;
    // `dialogLoop` its modal loop, which a wait for a cancelled worker stands in for.
    MainDialogJobs(const CWindow& dialog, ModalWindow& dialogLoop, FloppyDeviceFactory& devices)
        : dialog_(dialog), dialogLoop_(dialogLoop), worker_(&RunFloppyJob, devices, workerMessages_) {}

    // Runs `request` under the modal progress dialog and tells how it ended. After Cancel
    // it waits, with the main dialog answering, until the job has stopped after its
    // current unit and returns the job's own outcome: a Cancel that came as the job
    // completed its image reads as finished. Should the dialog be closed during that wait,
    // it returns cancelled and the next Run waits for the worker; that Run starts nothing
    // (failed, no message) when the dialog is closed meanwhile or another Run is already
    // waiting.
    JobOutcome Run(const JobRequest& request);

    // The main dialog has been closed (Exit, or the loop is ending): what a job's end
    // would still tell the user no longer reaches anyone.
    bool DialogClosing() { return !dialogLoop_.ContinueModal(); }

    // A WM_READ_PROGRESS or WM_WRITE_PROGRESS notice of a job of `kind`.
    void OnNotice(JobKind kind, WPARAM notice);

    // The session is ending: a job under way is cancelled and its worker waited for
    // (bounded). True when there was one; the process should then end.
    bool EndSession() { return worker_.CancelForSessionEnd(); }

    // Waits until the worker of a cancelled job has ended (it may still be deleting a
    // partial image), so that the process never ends under it.
    void WaitForWorker() { worker_.WaitAnsweringSentMessages(); }

private:
    // Waits for the worker while handling this thread's messages as the main dialog's loop
    // does. False when the dialog was ended meanwhile, or the loop is to end (WM_QUIT,
    // posted again for the loops outside); the worker may then still run.
    bool WaitForWorkerAnswering();
    // The same, unless a wait is already under way further up the stack: false then.
    bool WaitForWorkerOnce();

    const CWindow& dialog_;
    ModalWindow& dialogLoop_;
    // Ownerless boxes: an owner would be a window of the other thread, and a closing box
    // enables its owner again, under the progress dialog that still runs.
    MessageBoxSink workerMessages_;
    JobWorker worker_;
    // The progress dialog while a job runs; null before and after, so that the notices
    // of a cancelled worker that come late touch nothing.
    ProgressDialog* progress_ = nullptr;
    // Whether the job's Finished or Failed ended the progress dialog, and with which result.
    bool endNoticed_ = false;
    int noticedEnd_ = kJobFailed;
    // A Run is waiting for a cancelled worker: a start meanwhile is not taken.
    bool waiting_ = false;
};
