#include "engine/job/progress_status.h"

#include "resources/string_ids.h"

namespace {

unsigned StatusId(JobKind kind, const JobProgress& progress) {
    if (kind == JobKind::Write) {
        // A write that verifies reads the disk back as its second pass.
        return progress.phase == JobPhase::Verify ? IDS_VERIFYING_FLOPPY : IDS_WRITING_FLOPPY;
    }
    // An emergency read shows the sectors it has lost so far.
    return progress.badSectors > 0 ? IDS_READING_FLOPPY_BAD_SECTORS : IDS_READING_FLOPPY;
}

}  // namespace

ProgressStatus ComposeProgressStatus(JobKind kind, const JobProgress& progress) {
    ProgressStatus lines{{StatusId(kind, progress), MessageStyle::Information, progress.sizeText,
                          static_cast<long>(progress.badSectors)},
                         {IDS_KB_COPIED, MessageStyle::Information, progress.speedText,
                          static_cast<long>(progress.kilobytesCopied)}};
    return lines;
}
