#pragma once
#include <stdint.h>

#include "engine/files/target_files.h"
#include "engine/job/job_progress.h"
#include "platform/user_message.h"

enum class JobKind { Read, Write };

// What a job tells its host about its progress: after each unit, and once at its end,
// Finished or Failed. A cancelled job ends without either.
enum class JobNotice : uint32_t {
    Progress = 0,
    Finished = 1,
    Failed = 2,
};

// Everything a job needs from outside the disk and the image file. Through it the jobs
// stay free of windows and threads: the Win32 job worker backs it with message boxes
// and posted messages; tests back it with recorders
// and a clock of their own.
class JobHost {
public:
    // Where the job's messages go. Every failure is shown before Failed is posted.
    virtual MessageSink& Messages() = 0;

    // Hands `notice` and `progress` of a job of `kind` to whoever shows them (the window
    // thread, through a posted message).
    virtual void Post(JobKind kind, JobNotice notice, const JobProgress& progress) = 0;

    virtual bool CancelRequested() = 0;

    // Wall-clock time in whole seconds.
    virtual int64_t NowSeconds() = 0;

    // The running program's own file, which carries the restorer stub.
    virtual const char* ProgramPath() = 0;

    // The operations that make, replace and remove the files a read job writes, in place
    // of the platform's (FloppyDeviceFactory::Files); null for the platform's own. A
    // terminal front end records the files in the making through them, so that a second
    // interrupt can remove them before the program ends.
    virtual TargetFiles* Files() { return nullptr; }

protected:
    ~JobHost() = default;
};
