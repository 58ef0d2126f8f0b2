#include "engine/job/image_conversion.h"

#include "engine/device/memory_floppy_device.h"
#include "engine/image/ascii_text.h"
#include "engine/image/image_check.h"
#include "engine/image/image_trailer.h"
#include "engine/job/job_host_cancel.h"
#include "engine/job/job_outcome_recorder.h"
#include "engine/job/job_text.h"
#include "engine/job/read_floppy_job.h"
#include "resources/string_ids.h"

namespace {

char Folded(char c) {
    return c == '/' ? '\\' : AsciiLower(c);
}

// Ends a conversion that never reached its read job the way a failed job ends.
JobOutcome Refuse(JobOutcomeRecorder& outcome, JobHost& host) {
    outcome.NotePosted(JobNotice::Failed);
    host.Post(JobKind::Read, JobNotice::Failed, JobProgress{});
    return outcome.Outcome();
}

// A rescued image holds zeros for the sectors its disk would not give; every kind made
// from it holds them too, and says so.
uint32_t BadSectorsOf(const char* path, MessageSink& sink) {
    char description[kDescriptionBufferSize];
    int sectorsPerTrack = 0;
    int badSectors = 0;
    // The source has been judged already: whatever the trailer holds, the count is read
    // or stays 0.
    ReadImageTrailer(path, sink, description, &sectorsPerTrack, nullptr, &badSectors);
    return badSectors > 0 ? static_cast<uint32_t>(badSectors) : 0;
}

}  // namespace

bool SamePathSpelling(const char* one, const char* other) {
    for (; *one != '\0' && *other != '\0'; ++one, ++other) {
        if (Folded(*one) != Folded(*other)) return false;
    }
    return *one == *other;
}

JobOutcome RunImageConversion(const JobRequest& request, JobHost& host, TargetFiles* files) {
    JobOutcomeRecorder outcome(host.Messages());
    // The read job would put the new image in the source's place.
    if (SamePathSpelling(request.sourceImagePath, request.imagePath)) {
        outcome.Messages().Show({IDS_CONVERT_ONTO_SOURCE, MessageStyle::Error, request.imagePath});
        return Refuse(outcome, host);
    }
    CheckedImage source;
    JobHostCancel cancel(host);
    const int loaded = source.Load(request.sourceImagePath, outcome.Messages(), &cancel);
    if (loaded == CheckedImage::kLoadCancelled) {
        return outcome.Outcome();  // nothing posted: a cancel
    }
    if (loaded != 0) {
        return Refuse(outcome, host);
    }
    JobRequest read = request;
    if (read.description[0] == '\0') {
        CopyJobText(read.description, source.description);
    }
    MemoryFloppyDevice disk(source.Data(), source.Bytes(), *source.format);
    ReadFloppyJob job(read, host, disk, files);
    job.KeepBadSectors(BadSectorsOf(request.sourceImagePath, outcome.Messages()));
    job.Run();
    return job.Outcome();
}
