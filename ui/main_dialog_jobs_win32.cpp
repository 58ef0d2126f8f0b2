// The main dialog's side of a job: the worker thread, the progress dialog and the
// worker's notices.
#include "app/message_box_sink_win32.h"
#include "resources/string_ids.h"
#include "ui/main_dialog_win32.h"
#include "ui/progress_dialog_win32.h"

namespace {

// The codes in a notice's first parameter.
constexpr WPARAM kNoticeProgress = 0;
constexpr WPARAM kNoticeFinished = 1;
constexpr WPARAM kNoticeFailed = 2;


}  // namespace

int MainDialog::RunJob(JobKind kind) {
    // A cancelled worker may still be finishing its last unit: it must be gone before
    // the record it reads is reset, or it would carry on beside the new one.
    WaitForWorker();
    job_.Prepare(kind, model_.fields, hwnd_);
    ProgressDialog progress(hwnd_);
    progress_ = &progress;
    DWORD threadId;
    worker_.Reset(CreateThread(NULL, 0, job_.Entry(kind), job_.Argument(), 0, &threadId));
    if (!worker_) {
        progress_ = nullptr;
        return kJobFailed;
    }
    int result = progress.DoModal();
    if (result != kJobFinished && result != kJobFailed) {
        // Cancelled, or the dialog could not be shown: the worker stops either way.
        job_.RequestCancel();
        if (result != kJobCancelled) result = kJobFailed;
    }
    progress_ = nullptr;
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
    if (progress_ == nullptr || progress_->Handle() == NULL) return;  // late, after a cancel
    switch (notice) {
    case kNoticeFinished:
        progress_->EndDialog(kJobFinished);
        return;
    case kNoticeFailed:
        progress_->EndDialog(kJobFailed);
        return;
    case kNoticeProgress:
        break;
    default:
        return;
    }
    JobProgress now = job_.Progress();
    char status[kMessageTextSize];
    char count[kMessageTextSize];
    unsigned statusId = kind == JobKind::Read ? IDS_READING_FLOPPY : IDS_WRITING_FLOPPY;
    FormatUserMessage(NULL, {statusId, MessageStyle::Information, now.size.c_str()}, status, sizeof status);
    UserMessage copied{IDS_KB_COPIED, MessageStyle::Information, now.speed.c_str(), static_cast<long>(now.kilobytes)};
    FormatUserMessage(NULL, copied, count, sizeof count);
    progress_->ShowProgress(status, count, static_cast<int>(now.percent));
}
