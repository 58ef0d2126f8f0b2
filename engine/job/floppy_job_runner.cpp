#include "engine/job/floppy_job_runner.h"

#include "engine/job/image_conversion.h"
#include "engine/job/read_floppy_job.h"
#include "engine/job/write_floppy_job.h"

JobOutcome RunFloppyJob(const JobRequest& request, JobHost& host, FloppyDeviceFactory& devices) {
    if (request.kind == JobKind::Read) {
        // A conversion reads no drive: the platform is asked only how targets are replaced,
        // the host's files, where it records them, first.
        if (request.sourceImagePath[0] != '\0') {
            return RunImageConversion(request, host,
                                      host.Files() != nullptr ? host.Files() : devices.Files());
        }
        return RunFloppyJob<ReadFloppyJob>(request, host, devices);
    }
    return RunFloppyJob<WriteFloppyJob>(request, host, devices);
}
