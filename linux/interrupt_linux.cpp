#include "linux/interrupt_linux.h"

namespace {

const int kSignals[3] = {SIGINT, SIGTERM, SIGHUP};

// A signal handler can reach nothing else; only InterruptToCancel sets it up and reads it.
volatile sig_atomic_t interrupted = 0;

void NoteInterrupt(int) {
    interrupted = 1;
}

}  // namespace

InterruptToCancel::InterruptToCancel() {
    interrupted = 0;
    struct sigaction action = {};
    action.sa_handler = NoteInterrupt;
    sigemptyset(&action.sa_mask);
    for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &action, &previous_[i]);
}

InterruptToCancel::~InterruptToCancel() {
    for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &previous_[i], nullptr);
}

bool InterruptToCancel::Requested() const {
    return interrupted != 0;
}
