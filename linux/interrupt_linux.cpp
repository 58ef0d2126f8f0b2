#include "linux/interrupt_linux.h"

#include <unistd.h>

#include "linux/unfinished_files_linux.h"

namespace {

const int kSignals[3] = {SIGINT, SIGTERM, SIGHUP};

// A signal handler can reach nothing else; only InterruptToCancel sets it up and reads it.
volatile sig_atomic_t interrupted = 0;

// A second request ends the process where it stands: the target is still as it was,
// since a read makes its image beside it, and that image goes with the process.
void NoteInterrupt(int) {
    if (interrupted != 0) {
        RemoveUnfinishedFiles();
        _exit(kStatusInterruptedAgain);
    }
    interrupted = 1;
}

}  // namespace

InterruptToCancel::InterruptToCancel() {
    interrupted = 0;
    struct sigaction action = {};
    action.sa_handler = NoteInterrupt;
    // One request at a time: two signals of different kinds must not both count as first.
    sigemptyset(&action.sa_mask);
    for (int signal : kSignals) sigaddset(&action.sa_mask, signal);
    for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &action, &previous_[i]);
}

InterruptToCancel::~InterruptToCancel() {
    for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &previous_[i], nullptr);
}

bool InterruptToCancel::Requested() const {
    return interrupted != 0;
}
