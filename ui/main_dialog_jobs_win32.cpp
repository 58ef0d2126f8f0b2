// The main dialog's side of a job: the worker thread, the progress dialog and the
// worker's notices.
#include "app/job_worker_win32.h"
#include "app/message_box_sink_win32.h"
#include "resources/string_ids.h"
#include "ui/job_request.h"
#include "ui/main_dialog_win32.h"
#include "ui/progress_dialog_win32.h"

namespace {

LPTHREAD_START_ROUTINE WorkerEntry(JobKind kind) {
    return kind == JobKind::Read ? ReadFloppyWorker : WriteFloppyWorker;
}

}  // namespace

int MainDialog::RunJob(JobKind kind) {
    // A cancelled worker may still be finishing its last unit: it must be gone before
    // the record it reads is reset, or it would carry on beside the new one.
    WaitForWorker();
    PrepareJobContext(job_, model_.fields, hwnd_);
    ProgressDialog progress(hwnd_);
    job_.progressDialog = &progress;
    DWORD threadId;
    worker_.Reset(CreateThread(NULL, 0, WorkerEntry(kind), &job_, 0, &threadId));
    if (!worker_) {
        job_.progressDialog = nullptr;
        return kJobFailed;
    }
    int result = progress.DoModal();
    if (result != kJobFinished && result != kJobFailed) {
        // Cancelled, or the dialog could not be shown: the worker stops either way.
        job_.cancelRequested.store(1);
        if (result != kJobCancelled) result = kJobFailed;
    }
    job_.progressDialog = nullptr;
    return result;
}

void MainDialog::WaitForWorker() {
    if (!worker_) return;
    // Messages sent to our windows (a worker's message box is owned by one of them) are
    // still answered while waiting.
    HANDLE thread = worker_.Get();
    while (MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_SENDMESSAGE) != WAIT_OBJECT_0) {
        MSG message;
        PeekMessageA(&message, NULL, 0, 0, PM_NOREMOVE);
    }
    worker_.Reset();
}

void MainDialog::OnJobNotice(JobKind kind, WPARAM notice) {
    ProgressDialog* progress = job_.progressDialog;
    if (progress == nullptr || progress->Handle() == NULL) return;  // late, after a cancel
    switch (static_cast<JobNotice>(notice)) {
    case JobNotice::Finished:
        progress->EndDialog(kJobFinished);
        return;
    case JobNotice::Failed:
        progress->EndDialog(kJobFailed);
        return;
    case JobNotice::Progress:
        break;
    default:
        return;
    }
    // The record always holds the newest progress, so while a later notice waits in the
    // queue this one has nothing to show: a fast disk (one notice per sector in emergency
    // mode) would otherwise keep the dialog repainting long after the worker is done.
    MSG next;
    if (PeekMessageA(&next, hwnd_, WM_READ_PROGRESS, WM_WRITE_PROGRESS, PM_NOREMOVE) &&
        next.wParam == static_cast<WPARAM>(JobNotice::Progress)) {
        return;
    }
    const JobProgress now = job_.progress.Load();
    char status[kMessageTextSize];
    char count[kMessageTextSize];
    unsigned statusId = kind == JobKind::Read ? IDS_READING_FLOPPY : IDS_WRITING_FLOPPY;
    FormatUserMessage(NULL, {statusId, MessageStyle::Information, now.sizeText}, status, sizeof status);
    UserMessage copied{IDS_KB_COPIED, MessageStyle::Information, now.speedText,
                       static_cast<long>(now.kilobytesCopied)};
    FormatUserMessage(NULL, copied, count, sizeof count);
    progress->ShowProgress(status, count, static_cast<int>(now.percentDone));
}
