#pragma once
#include <signal.h>

// While it lives, Ctrl-C (SIGINT), SIGTERM and a closed terminal (SIGHUP) ask the running
// job to stop after its current unit instead of ending the process: the job then closes
// the device and leaves an existing target as it was. The previous handlers come back
// when it goes. One at a time per process.
class InterruptToCancel {
public:
    InterruptToCancel();
    ~InterruptToCancel();
    InterruptToCancel(const InterruptToCancel&) = delete;
    InterruptToCancel& operator=(const InterruptToCancel&) = delete;

    bool Requested() const;

private:
    struct sigaction previous_[3];
};
