#pragma once
#include <stdint.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/job/job_host.h"
#include "tests/support/recording_sink.h"

// A job host for tests: records messages and notices, and takes the time from a clock of the test's choosing.
class TestJobHost : public JobHost {
public:
    struct Posted {
        JobKind kind;
        JobNotice notice;
        JobProgress progress;
    };

    // Environment.
    std::string programPath = "no program file";
    // Seconds answered by NowSeconds; the default clock stands still.
    std::function<int64_t()> clock = [] { return int64_t{1000}; };
    // CancelRequested answers true once this many Progress notices have been posted,
    // and from when `cancelled` is set.
    int cancelAfterProgress = -1;
    bool cancelled = false;
    // Called after each notice is recorded.
    std::function<void(const Posted&)> onPost;

    // The record.
    RecordingSink sink;
    std::vector<Posted> posts;
    int cancelChecks = 0;

    int Count(JobNotice notice) const;
    const Posted* Last(JobNotice notice) const;
    // Finished or Failed, exactly once and as the last notice; otherwise a failure is
    // added and Progress is answered.
    JobNotice Outcome() const;

    // JobHost
    MessageSink& Messages() override { return sink; }
    void Post(JobKind kind, JobNotice notice, const JobProgress& progress) override;
    bool CancelRequested() override;
    int64_t NowSeconds() override { return clock(); }
    const char* ProgramPath() override { return programPath.c_str(); }
};
