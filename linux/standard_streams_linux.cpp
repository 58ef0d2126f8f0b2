#include "linux/standard_streams_linux.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

int PrepareStandardStreams() {
    // Lowest first: open() takes the lowest free descriptor, which is then this one.
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        const int opened = open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY);
        if (opened != fd) {
            if (opened >= 0) close(opened);
            return -1;
        }
    }
    struct sigaction ignore = {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    return sigaction(SIGPIPE, &ignore, nullptr);
}

void OutputStream::Write(const std::string& text) {
    size_t done = 0;
    while (error_ == 0 && done < text.size()) {
        const ssize_t put = write(fd_, text.data() + done, text.size() - done);
        if (put > 0) {
            done += static_cast<size_t>(put);
        } else if (put < 0 && errno != EINTR) {
            error_ = errno;
        } else if (put == 0) {
            error_ = EIO;
        }
    }
}
