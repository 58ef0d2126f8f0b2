#pragma once
#include "engine/job/job_progress.h"

// The newest progress of the running job, handed from its worker thread to the window
// thread: the worker stores a whole snapshot before it posts a notice, the window thread
// takes a whole copy when it handles one, both under one lock. The lock lives in storage
// of our own (a critical section on Windows), so nothing is allocated.
class ProgressSync {
public:
    ProgressSync();
    ~ProgressSync();
    ProgressSync(const ProgressSync&) = delete;
    ProgressSync& operator=(const ProgressSync&) = delete;

    void Store(const JobProgress& progress);
    JobProgress Load() const;

    // Before a start: nothing copied yet, no texts.
    void Reset() { Store(JobProgress{}); }

private:
    static constexpr unsigned kLockStorage = 64;

    alignas(8) mutable unsigned char lock_[kLockStorage];
    JobProgress progress_{};
};
