#pragma once
#include <stdint.h>

#include "engine/job/job_host.h"

// A job host that answers every question plainly and keeps only what the fuzz targets'
// oracles look at: the last message and whether the job said it finished.
class NullJobHost final : public JobHost, private MessageSink {
public:
    unsigned lastMessage = 0;
    int finished = 0;
    int failed = 0;

    MessageSink& Messages() override { return *this; }
    void Post(JobKind, JobNotice notice, const JobProgress&) override {
        finished += notice == JobNotice::Finished;
        failed += notice == JobNotice::Failed;
    }
    bool CancelRequested() override { return false; }
    int64_t NowSeconds() override { return 1000; }
    const char* ProgramPath() override { return "no program file"; }

private:
    MessageAnswer Show(const UserMessage& message) override {
        lastMessage = message.id;
        return MessageAnswer::Yes;
    }
};
