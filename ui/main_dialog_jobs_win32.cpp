#include "ui/main_dialog_jobs_win32.h"

#include "resources/string_ids.h"
#include "engine/job_fields.h"
#include "ui/progress_dialog_win32.h"

namespace {

void ComposeStatusLines(JobKind kind, const JobProgress& now, char* status, char* count) {
    // A write that verifies reads the disk back as its second pass.
    unsigned statusId = kind == JobKind::Read ? IDS_READING_FLOPPY : IDS_WRITING_FLOPPY;
    if (kind == JobKind::Write && now.phase == JobPhase::Verify) statusId = IDS_VERIFYING_FLOPPY;
    // An emergency read shows the sectors it has lost so far in its status line.
    if (kind == JobKind::Read && now.badSectors > 0) statusId = IDS_READING_FLOPPY_BAD_SECTORS;
    FormatUserMessage(NULL, {statusId, MessageStyle::Information, now.sizeText,
                             static_cast<long>(now.badSectors)},
                      status, kMessageTextSize);
    UserMessage copied{IDS_KB_COPIED, MessageStyle::Information, now.speedText,
                       static_cast<long>(now.kilobytesCopied)};
    FormatUserMessage(NULL, copied, count, kMessageTextSize);
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
    ProgressDialog progress(dialog_.Handle());
    return jobs_.Run(request, progress);
}
