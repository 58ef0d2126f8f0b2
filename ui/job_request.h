#pragma once
#include "engine/job_context.h"
#include "ui/job_fields.h"

// Readies the job's status record for a new job: the request copied from the main
// dialog's fields (paths and description cut to the record's buffers, which the start
// checks have already made sure they fit), no progress, no cancel.
void PrepareJobContext(JobContext& context, const JobFields& fields, void* notifyWindow);
