#pragma once
#include <windows.h>

#include "engine/job/job_fields.h"
#include "platform/message_box_sink_win32.h"
#include "ui/job_progress_window_win32.h"
#include "ui/modal_loop_win32.h"
#include "ui/window_win32.h"

// The main dialog's side of a job: the job under the program's progress dialog
// (JobProgressWindow), and the worker's notices, which the main dialog's window receives
// and hands on here.
class MainDialogJobs {
public:
    // `dialog` is the main dialog, the progress dialog's owner and the notices' window;
    // `dialogLoop` its modal loop, which a wait for a cancelled worker stands in for.
    MainDialogJobs(const CWindow& dialog, ModalWindow& dialogLoop, FloppyDeviceFactory& devices);

    // Runs `request` under the modal progress dialog and tells how it ended. After Cancel
    // it waits, with the main dialog answering, until the job has stopped after its
    // current unit and returns the job's own outcome: a Cancel that came as the job
    // completed its image reads as finished. Should the dialog be closed during that wait,
    // it returns cancelled and the next Run waits for the worker; that Run starts nothing
    // (failed, no message) when the dialog is closed meanwhile or another Run is already
    // waiting.
    JobOutcome Run(const JobRequest& request);

    // The disk of a batch the next jobs read (its number in the progress caption); 0 for
    // none.
    void ShowDisk(unsigned number) { disk_ = number; }

    // The main dialog has been closed (Exit, or the loop is ending): what a job's end
    // would still tell the user no longer reaches anyone.
    bool DialogClosing() { return !dialogLoop_.ContinueModal(); }

    // A WM_READ_PROGRESS or WM_WRITE_PROGRESS notice of a job of `kind`.
    void OnNotice(JobKind kind, WPARAM notice) { jobs_.OnNotice(kind, notice); }

    // The session is ending: a job under way is cancelled and its worker waited for
    // (bounded). True when there was one; the process should then end.
    bool EndSession() { return jobs_.EndSession(); }

    // Waits until the worker of a cancelled job has ended (it may still be deleting a
    // partial image), so that the process never ends under it.
    void WaitForWorker() { jobs_.WaitForWorker(); }

private:
    const CWindow& dialog_;
    ModalWindow& dialogLoop_;
    // Ownerless boxes: an owner would be a window of the other thread, and a closing box
    // enables its owner again, under the progress dialog that still runs.
    MessageBoxSink workerMessages_;
    JobProgressWindow jobs_;
    unsigned disk_ = 0;
};
