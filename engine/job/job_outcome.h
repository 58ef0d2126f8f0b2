#pragma once

// How a job ended, as the front end that ran it gets it back. The values are the exit
// statuses a front end without windows gives: 0 finished, 1 failed, 2 cancelled.
enum class JobEnd : int {
    Finished = 0,
    Failed = 1,
    Cancelled = 2,
};

struct JobOutcome {
    JobEnd end = JobEnd::Failed;
    // When it failed: the ID of the message the user was shown about it, 0 when it
    // failed without one (no memory for its buffer, a job that never started).
    unsigned messageId = 0;
};
