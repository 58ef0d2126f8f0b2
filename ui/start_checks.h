#pragma once
#include <string>

#include "app/settings.h"
#include "engine/user_message.h"
#include "ui/job_fields.h"
#include "ui/start_host.h"

// The checks and questions before a job. Every check that refuses has told the user and
// leaves the fields as they were. A path too long for the jobs' buffers is refused by the
// extension checks, so no longer path ever reaches a job.

// An image to write: ".img" or ".imz" (sets `compressed`); else message 57673, -1.
int CheckReadableExtension(const std::string& path, JobFields& fields, MessageSink& sink);

// An image to create: ".img", ".imz" or ".exe" (sets `compressed`); else message 120, -1.
int CheckCreatableExtension(const std::string& path, JobFields& fields, MessageSink& sink);

// 0 when the image opens for reading; else message 106 with the path, -1.
int CheckImageOpens(const std::string& path, StartHost& host);

// Refuses a write from a floppy, asks before overwriting the floppy (unless Suppress),
// runs the write job and handles its end. -1 when a check stopped it, else the job's
// end: kJobFinished, kJobFailed or kJobCancelled.
int StartWrite(JobFields& fields, const Settings& settings, StartHost& host);

// The read job's checks in their order: not onto a floppy, the compatible-mode question,
// emergency mode only to ".img", a read-only or existing target. The description is
// `descriptionEditText` except in command-line mode, which keeps the "/d" value. -1 when
// a check stopped it, else the job's end. A conversion (`fields.sourceImagePath` set)
// reads no drive, so the floppy and emergency checks do not apply to it, and is refused
// first when its target is its source (IDS_CONVERT_ONTO_SOURCE); an empty
// description keeps the source's (the runner fills it in, engine/image_conversion.h).
int StartRead(JobFields& fields, const std::string& descriptionEditText, const Settings& settings,
              StartHost& host);

// The save dialog's filter for the kind of the last target: 1 ".imz", 2 ".img", 3 ".exe";
// `current` for any other name.
int SaveFilterIndexFor(const std::string& path, int current);
