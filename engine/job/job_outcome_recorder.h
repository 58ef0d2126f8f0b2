#pragma once
#include "engine/job/job_host.h"
#include "engine/job/job_outcome.h"

// How a job ends, noted on the way: the job shows its messages through the recorder's
// sink, which hands them on to the host's, and tells it each notice it posts. Finished
// and Failed come from the job's last notice, with the message it showed last before
// Failed; a job that stopped without either stopped for a cancel.
class JobOutcomeRecorder final : private MessageSink {
public:
    // `messages`: the host's sink.
    explicit JobOutcomeRecorder(MessageSink& messages) : messages_(messages) {}
    JobOutcomeRecorder(const JobOutcomeRecorder&) = delete;
    JobOutcomeRecorder& operator=(const JobOutcomeRecorder&) = delete;

    MessageSink& Messages() { return *this; }

    void NotePosted(JobNotice notice) {
        if (notice != JobNotice::Progress) end_ = notice;
    }

    // How the job has ended, once it has.
    JobOutcome Outcome() const;

private:
    MessageAnswer Show(const UserMessage& message) override;

    MessageSink& messages_;
    JobNotice end_ = JobNotice::Progress;  // until Finished or Failed is posted
    unsigned lastMessageId_ = 0;
};
