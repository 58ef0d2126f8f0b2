#include "program/main_dialog_jobs_win32.h"

#include "engine/job/job_fields.h"
#include "engine/job/progress_status.h"
#include "program/progress_dialog_win32.h"

namespace {

void ComposeStatusLines(JobKind kind, const JobProgress& now, char* status, char* count) {
    const ProgressStatus lines = ComposeProgressStatus(kind, now);
    FormatUserMessage(NULL, lines.status, status, kMessageTextSize);
    FormatUserMessage(NULL, lines.count, count, kMessageTextSize);
}

JobProgressStyle MainDialogStyle(ModalWindow& dialogLoop) {
    JobProgressStyle style;
    style.composeStatusLines = &ComposeStatusLines;
    style.answeringLoop = &dialogLoop;
    return style;
}

}  // namespace

MainDialogJobs::MainDialogJobs(const CWindow& dialog, ModalWindow& dialogLoop,
                               FloppyDeviceFactory& devices)
    : dialog_(dialog),
      dialogLoop_(dialogLoop),
      jobs_(dialog, &RunFloppyJob, devices, workerMessages_, MainDialogStyle(dialogLoop)) {}

JobOutcome MainDialogJobs::Run(const JobRequest& request) {
    ProgressDialog progress(dialog_.Handle(), disk_);
    return jobs_.Run(request, progress);
}
