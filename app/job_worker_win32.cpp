#include "app/job_worker_win32.h"

#include "app/message_box_sink_win32.h"
#include "app/settings.h"
#include "engine/read_floppy_job.h"
#include "engine/run_floppy_job_win32.h"
#include "engine/window_job_host_win32.h"
#include "engine/write_floppy_job.h"

namespace {

template <class Job>
DWORD RunWorker(LPVOID jobContext) {
    JobContext& context = *static_cast<JobContext*>(jobContext);
    // Ownerless boxes: an owner would be a window of the other thread, and a closing box
    // enables its owner again, under the progress dialog that still runs.
    MessageBoxSink messages;
    WindowJobHost host(context, messages, TheSettings());
    RunFloppyJob<Job>(context, host, ThePlatform().ntMajorVersion);
    return 0;
}

}  // namespace

DWORD WINAPI ReadFloppyWorker(LPVOID jobContext) {
    return RunWorker<ReadFloppyJob>(jobContext);
}

DWORD WINAPI WriteFloppyWorker(LPVOID jobContext) {
    return RunWorker<WriteFloppyJob>(jobContext);
}
