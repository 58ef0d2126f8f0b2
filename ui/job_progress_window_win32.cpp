#include "ui/job_progress_window_win32.h"

namespace {

constexpr int kWindowFinished = static_cast<int>(JobEnd::Finished);
constexpr int kWindowFailed = static_cast<int>(JobEnd::Failed);
constexpr int kWindowCancelled = static_cast<int>(JobEnd::Cancelled);

}  // namespace

bool JobProgressWindow::WaitForWorkerAnswering(ModalWindow& loop) {
    for (;;) {
        if (worker_.WaitForEnd(0)) return true;  // only looks
        MSG message;
        while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam));
                return false;
            }
            if (PreTranslateForWindows(message) || loop.DialogManagerMessage(message)) continue;
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (!loop.ContinueModal()) return false;
        if (worker_.WaitForEndOrMessage()) return true;
    }
}

bool JobProgressWindow::WaitForWorkerOnce(ModalWindow& loop) {
    if (waiting_) return false;
    waiting_ = true;
    const bool workerGone = WaitForWorkerAnswering(loop);
    waiting_ = false;
    return workerGone;
}

JobOutcome JobProgressWindow::Run(const JobRequest& request, ProgressWindowDialog& window) {
    started_ = false;
    // A cancelled job's worker may still be finishing a slow unit or deleting its partial
    // image; the end of the answering window must still be taken meanwhile.
    if (style_.answeringLoop != nullptr && !WaitForWorkerOnce(*style_.answeringLoop)) {
        return JobOutcome{JobEnd::Failed};
    }
    window_ = &window;
    endNoticed_ = false;
    if (!worker_.Start(request, notifyWindow_.Handle())) {
        window_ = nullptr;
        return JobOutcome{JobEnd::Failed};
    }
    started_ = true;
    const int result = window.DoModal();
    window_ = nullptr;
    if (endNoticed_ && result == noticedEnd_) {
        // The window ended on the job's last notice: the worker is only leaving its thread.
        worker_.WaitAnsweringSentMessages();
        return worker_.Outcome();
    }
    return AfterWindowEnded(result);
}

JobOutcome JobProgressWindow::AfterWindowEnded(int result) {
    // Cancelled, or the window could not be shown or was ended by WM_QUIT: the worker
    // stops either way. (Enter does not end the window while the job runs.)
    worker_.Cancel();
    if (result != kWindowCancelled) return JobOutcome{JobEnd::Failed};
    if (style_.answeringLoop == nullptr) return JobOutcome{JobEnd::Cancelled};
    // A Cancel that came while the job was completing its image may have come too late:
    // the job then keeps the image and says so, and that is what the user is told. The
    // window answers meanwhile; once it has ended the job's own end no longer matters.
    if (!WaitForWorkerOnce(*style_.answeringLoop)) return JobOutcome{JobEnd::Cancelled};
    return worker_.Outcome();
}

void JobProgressWindow::OnNotice(JobKind kind, WPARAM notice) {
    ProgressWindowDialog* window = window_;
    if (window == nullptr || window->Handle() == NULL) return;  // late, after a cancel
    switch (static_cast<JobNotice>(notice)) {
    case JobNotice::Finished:
        endNoticed_ = true;
        noticedEnd_ = kWindowFinished;
        window->EndDialog(kWindowFinished);
        return;
    case JobNotice::Failed:
        endNoticed_ = true;
        noticedEnd_ = kWindowFailed;
        window->EndDialog(kWindowFailed);
        return;
    case JobNotice::Progress:
        break;
    default:
        return;
    }
    // The worker always holds the newest progress, so while a later notice waits in the
    // queue this one has nothing to show: a fast disk (one notice per sector in emergency
    // mode) would otherwise keep the window repainting long after the worker is done.
    MSG next;
    if (PeekMessageA(&next, notifyWindow_.Handle(), WM_READ_PROGRESS, WM_WRITE_PROGRESS, PM_NOREMOVE) &&
        next.wParam == static_cast<WPARAM>(JobNotice::Progress)) {
        return;
    }
    const JobProgress now = worker_.Progress();
    char status[kMessageTextSize];
    char count[kMessageTextSize];
    style_.composeStatusLines(kind, now, status, count);
    window->ShowProgress(status, count, static_cast<int>(now.percentDone));
}
