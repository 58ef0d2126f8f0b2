#include "ui/main_dialog_jobs_win32.h"

#include "resources/string_ids.h"
#include "ui/job_fields.h"
#include "ui/progress_dialog_win32.h"

bool MainDialogJobs::WaitForWorkerAnswering() {
    for (;;) {
        if (worker_.WaitForEnd(0)) return true;  // only looks
        MSG message;
        while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam));
                return false;
            }
            if (PreTranslateForWindows(message) || dialogLoop_.DialogManagerMessage(message)) continue;
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (!dialogLoop_.ContinueModal()) return false;
        if (worker_.WaitForEndOrMessage()) return true;
    }
}

bool MainDialogJobs::WaitForWorkerOnce() {
    if (waiting_) return false;
    waiting_ = true;
    const bool workerGone = WaitForWorkerAnswering();
    waiting_ = false;
    return workerGone;
}

JobOutcome MainDialogJobs::Run(const JobRequest& request) {
    // A cancelled job's worker may still be finishing a slow unit or deleting its partial
    // image; Exit meanwhile must still be taken.
    if (!WaitForWorkerOnce()) return JobOutcome{JobEnd::Failed};
    ProgressDialog progress(dialog_.Handle());
    progress_ = &progress;
    endNoticed_ = false;
    if (!worker_.Start(request, dialog_.Handle())) {
        progress_ = nullptr;
        return JobOutcome{JobEnd::Failed};
    }
    const int result = progress.DoModal();
    progress_ = nullptr;
    if (endNoticed_ && result == noticedEnd_) {
        // The dialog ended on the job's last notice: the worker is only leaving its thread.
        worker_.WaitAnsweringSentMessages();
        return worker_.Outcome();
    }
    // Cancelled, or the dialog could not be shown or was ended by WM_QUIT: the worker
    // stops either way. (Enter does not end the dialog while the job runs.)
    worker_.Cancel();
    if (result != kJobCancelled) return JobOutcome{JobEnd::Failed};
    // A Cancel that came while the job was completing its image may have come too late:
    // the job then keeps the image and says so, and that is what the user is told. The
    // window answers meanwhile; on Exit the job's own end no longer matters.
    if (!WaitForWorkerOnce()) return JobOutcome{JobEnd::Cancelled};
    return worker_.Outcome();
}

void MainDialogJobs::OnNotice(JobKind kind, WPARAM notice) {
    ProgressDialog* progress = progress_;
    if (progress == nullptr || progress->Handle() == NULL) return;  // late, after a cancel
    switch (static_cast<JobNotice>(notice)) {
    case JobNotice::Finished:
        endNoticed_ = true;
        noticedEnd_ = kJobFinished;
        progress->EndDialog(kJobFinished);
        return;
    case JobNotice::Failed:
        endNoticed_ = true;
        noticedEnd_ = kJobFailed;
        progress->EndDialog(kJobFailed);
        return;
    case JobNotice::Progress:
        break;
    default:
        return;
    }
    // The worker always holds the newest progress, so while a later notice waits in the
    // queue this one has nothing to show: a fast disk (one notice per sector in emergency
    // mode) would otherwise keep the dialog repainting long after the worker is done.
    MSG next;
    if (PeekMessageA(&next, dialog_.Handle(), WM_READ_PROGRESS, WM_WRITE_PROGRESS, PM_NOREMOVE) &&
        next.wParam == static_cast<WPARAM>(JobNotice::Progress)) {
        return;
    }
    const JobProgress now = worker_.Progress();
    char status[kMessageTextSize];
    char count[kMessageTextSize];
    // A write that verifies reads the disk back as its second pass.
    unsigned statusId = kind == JobKind::Read ? IDS_READING_FLOPPY : IDS_WRITING_FLOPPY;
    if (kind == JobKind::Write && now.phase == JobPhase::Verify) statusId = IDS_VERIFYING_FLOPPY;
    // An emergency read shows the sectors it has lost so far in its status line.
    if (kind == JobKind::Read && now.badSectors > 0) statusId = IDS_READING_FLOPPY_BAD_SECTORS;
    FormatUserMessage(NULL, {statusId, MessageStyle::Information, now.sizeText,
                             static_cast<long>(now.badSectors)},
                      status, sizeof status);
    UserMessage copied{IDS_KB_COPIED, MessageStyle::Information, now.speedText,
                       static_cast<long>(now.kilobytesCopied)};
    FormatUserMessage(NULL, copied, count, sizeof count);
    progress->ShowProgress(status, count, static_cast<int>(now.percentDone));
}
