#pragma once
#include <stdint.h>

#include <functional>
#include <string>

#include "engine/job/job_host.h"
#include "linux/progress_line.h"

// The job's host in the terminal program: messages to its sink, progress to the
// progress view, cancel from Ctrl-C.
class TerminalJobHost final : public JobHost {
public:
    struct Settings {
        std::string programPath;  // the file carrying the restorer stub
        TargetFiles* files = nullptr;  // those of the read's image files; null: the system's
    };

    TerminalJobHost(MessageSink& sink, ProgressView& progress, Settings settings,
                    std::function<bool()> cancelled, std::function<int64_t()> clock)
        : sink_(sink), progress_(progress), settings_(std::move(settings)),
          cancelled_(std::move(cancelled)), clock_(std::move(clock)) {}

    MessageSink& Messages() override { return sink_; }
    void Post(JobKind kind, JobNotice notice, const JobProgress& progress) override;
    bool CancelRequested() override { return cancelled_(); }
    int64_t NowSeconds() override;
    const char* ProgramPath() override { return settings_.programPath.c_str(); }
    TargetFiles* Files() override { return settings_.files; }

private:
    MessageSink& sink_;
    ProgressView& progress_;
    Settings settings_;
    std::function<bool()> cancelled_;
    std::function<int64_t()> clock_;
    bool clockStarted_ = false;
    JobPhase phase_ = JobPhase::Copy;
    int64_t phaseStart_ = 0;
};
