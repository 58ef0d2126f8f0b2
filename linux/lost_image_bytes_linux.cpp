#include "linux/lost_image_bytes_linux.h"

#include <unistd.h>

#include "linux/terminal_commands.h"
#include "linux/unfinished_files_linux.h"

namespace {

// A signal handler can reach nothing but static storage; only LostImageBytesEnd fills it.
char lostLine[512];
size_t lostLength = 0;

void EndOnLostBytes(int) {
    RemoveUnfinishedFiles();
    // NOLINTNEXTLINE(cert-err33-c): nothing is left to do if stderr is gone too
    write(STDERR_FILENO, lostLine, lostLength);
    _exit(kStatusNotDone);
}

}  // namespace

LostImageBytesEnd::LostImageBytesEnd(const std::string& line) {
    lostLength = line.copy(lostLine, sizeof lostLine);
    struct sigaction action = {};
    action.sa_handler = EndOnLostBytes;
    sigemptyset(&action.sa_mask);
    sigaction(SIGBUS, &action, &previous_);
}

LostImageBytesEnd::~LostImageBytesEnd() {
    sigaction(SIGBUS, &previous_, nullptr);
}
