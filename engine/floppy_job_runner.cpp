#include "engine/floppy_job_runner.h"

#include "engine/read_floppy_job.h"
#include "engine/write_floppy_job.h"

JobOutcome RunFloppyJob(const JobRequest& request, JobHost& host, FloppyDeviceFactory& devices) {
    if (request.kind == JobKind::Read) {
        return RunFloppyJob<ReadFloppyJob>(request, host, devices);
    }
    return RunFloppyJob<WriteFloppyJob>(request, host, devices);
}
