#include "linux/terminal_linux.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <unistd.h>

bool ErrorIsTerminal() {
    return isatty(STDERR_FILENO) == 1;
}

int ErrorTerminalWidth() {
    struct winsize size = {};
    if (ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col >= 20) return size.ws_col;
    return 80;
}

namespace {

// The controlling terminal, closed when it goes.
class Terminal {
public:
    Terminal() : fd_(open("/dev/tty", O_RDWR | O_CLOEXEC | O_NOCTTY)) {}
    ~Terminal() {
        if (fd_ >= 0) close(fd_);
    }
    Terminal(const Terminal&) = delete;
    Terminal& operator=(const Terminal&) = delete;
    int Get() const { return fd_; }

private:
    int fd_;
};

// Every byte of `text`, through interrupts and partial writes: false when the terminal
// takes no more.
bool WriteAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t put = write(fd, text.data() + done, text.size() - done);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        done += static_cast<size_t>(put);
    }
    return true;
}

}  // namespace

int AskOnTerminal(const std::string& question, const std::function<bool()>& cancelled) {
    Terminal terminal;
    if (terminal.Get() < 0) return -1;
    if (!WriteAll(terminal.Get(), question)) return -1;
    // Ctrl-C may come before the read starts: wait in short steps, looking at the flag.
    std::string answer;
    while (!cancelled()) {
        struct pollfd waiting = {terminal.Get(), POLLIN, 0};
        const int ready = poll(&waiting, 1, 100);
        if (ready < 0 && errno != EINTR) return 0;  // a terminal that cannot be read says no
        if (ready <= 0) continue;
        char c = 0;
        const ssize_t got = read(terminal.Get(), &c, 1);
        if (got < 0 && errno == EINTR) continue;
        // Only an answer ended by Enter counts: the end of input (Ctrl-D) or a terminal that
        // fails after "y" says no.
        if (got <= 0) return 0;
        if (c == '\n') return !answer.empty() && (answer[0] == 'y' || answer[0] == 'Y') ? 1 : 0;
        answer += c;
    }
    WriteAll(terminal.Get(), "\n");
    return 0;
}

std::string RestorerStubCarrier() {
    const char* chosen = getenv("VORLIX_RESTORER");
    if (chosen != nullptr && chosen[0] != '\0') return chosen;
    char self[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0) return "/usr/local/share/vorlix/vorlix.exe";
    std::string path(self, static_cast<size_t>(length));
    path.erase(path.rfind('/'));                    // the bin folder
    const size_t parent = path.rfind('/');
    path.erase(parent == std::string::npos ? 0 : parent);  // the prefix
    return path + "/share/vorlix/vorlix.exe";
}
