#pragma once
#include "engine/job/floppy_device_factory.h"
#include "engine/job/job_host.h"
#include "engine/job/job_outcome.h"
#include "engine/job/job_request.h"

// The one way a job is run, by every front end: the program's and the restorer stub's
// worker threads, or a terminal program on its own thread. Runs `Job` (ReadFloppyJob or
// WriteFloppyJob) over the device that `devices` gives for the request's drive, on the
// calling thread, from its start to its end. The job reports through `host` as it goes
// (its messages, Progress, then Finished or Failed); it is gone, its device closed and
// its image released, before its outcome is returned.
template <class Job>
JobOutcome RunFloppyJob(const JobRequest& request, JobHost& host, FloppyDeviceFactory& devices) {
    Job job(request, host, devices);
    job.Run();
    return job.Outcome();
}

// The job that `request.kind` names; a read with a `sourceImagePath` is a conversion
// (engine/job/image_conversion.h), which needs no drive. The restorer stub carries the write job alone and
// names it itself: RunFloppyJob<WriteFloppyJob>.
JobOutcome RunFloppyJob(const JobRequest& request, JobHost& host, FloppyDeviceFactory& devices);

// Either of the two, for a worker that runs jobs on a thread of its own.
using FloppyJobRunner = JobOutcome (*)(const JobRequest&, JobHost&, FloppyDeviceFactory&);
