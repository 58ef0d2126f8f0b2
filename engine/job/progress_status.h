#pragma once
#include "engine/job/job_host.h"
#include "engine/job/job_progress.h"
#include "platform/user_message.h"

// A running job's two lines under its progress bar, by string-table ID: what the job is
// doing ("Reading floppy (1440 kB)", with the sectors lost so far once there are any) and
// how far it has come ("720 kB copied (28.8 kB/sec)"). Their texts point into `progress`,
// which outlives them.
struct ProgressStatus {
    UserMessage status;
    UserMessage count;
};

ProgressStatus ComposeProgressStatus(JobKind kind, const JobProgress& progress);
