#pragma once
#include <stdint.h>

#include "engine/device_method.h"
#include "engine/job_host.h"
#include "engine/nt_floppy_device.h"
#include "engine/vwin32_floppy_device_win32.h"

// Runs one job of type `Job` (ReadFloppyJob or WriteFloppyJob) on the calling thread over
// the platform's device method: the NT device handle on the NT family, the VWIN32
// service on the 9x family (`ntMajorVersion` 0). Device and job live on this stack and
// are gone, with everything they held, when it returns. 0, or -1 when the job did not
// complete.
template <class Job>
int RunFloppyJob(JobContext& context, JobHost& host, uint32_t ntMajorVersion) {
    const DeviceMethod method = DeviceMethodFor(ntMajorVersion);
    if (method == DeviceMethod::Nt) {
        NtFloppyDevice device(host.DriveText());
        Job job(context, host, device, method);
        return job.Run();
    }
    Vwin32FloppyDevice device(host.DriveText());
    Job job(context, host, device, method);
    return job.Run();
}
