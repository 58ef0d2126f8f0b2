#pragma once
#include <signal.h>

// The status of a process that a second interrupt ended: a shell's for one ended by Ctrl-C.
constexpr int kStatusInterruptedAgain = 130;

// While it lives, Ctrl-C (SIGINT), SIGTERM and a closed terminal (SIGHUP) ask the running
// job to stop after its current unit instead of ending the process: the job then closes
// the device and leaves an existing target as it was. A second one, for a job that does
// not come to the end of its unit (a drive that hangs, a stuck stderr), ends the process
// at once with kStatusInterruptedAgain. The previous handlers come back when it goes.
// One at a time per process.
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
