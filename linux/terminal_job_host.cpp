#include "linux/terminal_job_host.h"

#include <stdlib.h>

void TerminalJobHost::Post(JobKind kind, JobNotice notice, const JobProgress& progress) {
    if (notice != JobNotice::Progress) {
        progress_.Break();
        return;
    }
    const int64_t now = NowSeconds();
    // Each pass has its own pace: a verify starts its clock anew.
    if (progress.phase != phase_) {
        phase_ = progress.phase;
        phaseStart_ = now;
    }
    ProgressFigures figures;
    figures.kind = kind;
    figures.phase = progress.phase;
    figures.percent = progress.percentDone;
    figures.kilobytesDone = progress.kilobytesCopied;
    figures.kilobytesTotal = static_cast<uint32_t>(atoi(progress.sizeText));  // "1440 kB"
    figures.speedText = progress.speedText;
    figures.secondsElapsed = now - phaseStart_;
    if (kind == JobKind::Read) figures.badSectors = static_cast<long>(progress.badSectors);
    progress_.Show(figures);
}

// The job asks for the time first when it starts copying: the first pass starts then.
int64_t TerminalJobHost::NowSeconds() {
    const int64_t now = clock_();
    if (!clockStarted_) {
        clockStarted_ = true;
        phaseStart_ = now;
    }
    return now;
}
