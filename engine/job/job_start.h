#pragma once
#include <string>

#include "engine/job/job_fields.h"
#include "engine/job/start_host.h"
#include "platform/user_message.h"

// The checks and questions before a job, for every front end. Every check that refuses
// has told the user and returns -1; the fields are as they were, apart from what the
// check says it sets. A path too long for the jobs' buffers is refused by the extension
// checks, so no longer path ever reaches a job.

// An image to write: a raw image (".img", ".ima", ".vfd", ".flp"), ".imz" or ".zip" (sets
// `compressed`); else message 57673, -1.
int CheckWritableKind(const std::string& path, JobFields& fields, MessageSink& sink);
// An image to create: a raw image, ".imz" or ".exe", never ".zip" (sets `compressed`);
// else message 120, -1.
int CheckCreatableKind(const std::string& path, JobFields& fields, MessageSink& sink);

// The two above after the length check (IDS_UNABLE_TO_OPEN, IDS_UNABLE_TO_CREATE with
// the path).
int CheckReadableExtension(const std::string& path, JobFields& fields, MessageSink& sink);
int CheckCreatableExtension(const std::string& path, JobFields& fields, MessageSink& sink);

// 0 when the image opens for reading; else message 106 with the path, -1.
int CheckImageOpens(const std::string& path, StartFiles& files, MessageSink& sink);
inline int CheckImageOpens(const std::string& path, StartHost& host) {
    return CheckImageOpens(path, host, host.Messages());
}

// Replacing the source with its own conversion is never meant: 0, else message
// IDS_CONVERT_ONTO_SOURCE with the target, -1. Asked before any question.
int CheckConversionTarget(const std::string& source, const std::string& target, StartFiles& files,
                          MessageSink& sink);

// An emergency read makes only raw images (IDS_EMERGENCY_ONLY_IMG).
int CheckEmergencyKind(const std::string& path, const StartChoices& choices, MessageSink& sink);

// The read's target `fields.readImagePath`, when it is there: a read-only one is refused
// (IDS_TARGET_READ_ONLY); a raw image whose map lists sectors an earlier emergency read
// lost offers to read only those again (139; `suppress` takes it), which sets
// `rereadMappedSectors`; else replacing it is asked (103). A conversion has no failing
// disk to go back to and is never offered the re-read.
int CheckExistingTarget(JobFields& fields, const StartChoices& choices, StartFiles& files,
                        MessageSink& sink);

// Refuses a write from a floppy, asks before overwriting the floppy (unless suppressed),
// runs the write job and handles its end. -1 when a check stopped it, else the job's
// end: kJobFinished, kJobFailed or kJobCancelled.
int StartWrite(JobFields& fields, const StartChoices& choices, StartHost& host);

// The read job's checks in their order: not onto a floppy, the compatible-mode question
// (asked for ".img" only: it is the one name whose trailer that mode leaves out),
// emergency mode only to raw images, a read-only or existing target. The description is
// `descriptionEditText` except in command-line mode, which keeps the "/d" value. -1 when
// a check stopped it, else the job's end. A conversion (`fields.sourceImagePath` set)
// reads no drive, so the floppy and emergency checks do not apply to it, and is refused
// first when its target is its source; an empty description keeps the source's (the
// runner fills it in, engine/job/image_conversion.h).
int StartRead(JobFields& fields, const std::string& descriptionEditText, const StartChoices& choices,
              StartHost& host);
