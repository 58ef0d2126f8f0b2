#include "linux/batch_terminal_linux.h"

#include <errno.h>
#include <limits.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

namespace {

void WriteError(const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t wrote = write(STDERR_FILENO, text.data() + done, text.size() - done);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) return;
        done += static_cast<size_t>(wrote);
    }
}

// One byte at a time, so nothing after the line is taken from a pipe a script shares.
// The interrupt handler is installed without SA_RESTART: Ctrl-C ends the wait.
int ReadLine(std::string* line, const std::function<bool()>& cancelled) {
    line->clear();
    for (;;) {
        char c = 0;
        const ssize_t got = read(STDIN_FILENO, &c, 1);
        if (cancelled()) return -1;
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return line->empty() ? -1 : 0;
        if (c == '\n') return 0;
        *line += c;
    }
}

std::string WorkingFolder() {
    char* folder = getcwd(nullptr, 0);
    const std::string text = folder != nullptr ? folder : ".";
    free(folder);
    return text;
}

// The folder resolved, the name kept: the file need not exist yet.
std::string FullPath(const std::string& path) {
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    char resolved[PATH_MAX];
    if (realpath(folder.c_str(), resolved) == nullptr) return path;
    const std::string full = resolved;
    return (full == "/" ? "" : full) + "/" + path.substr(slash == std::string::npos ? 0 : slash + 1);
}

}  // namespace

BatchTerminal SystemBatchTerminal(std::function<bool()> cancelled) {
    BatchTerminal terminal;
    terminal.ask = [cancelled](const std::string& prompt, std::string* answer) {
        WriteError(prompt);
        const int read = ReadLine(answer, cancelled);
        if (read != 0) WriteError("\n");
        return read;
    };
    terminal.utcSeconds = [] { return static_cast<int64_t>(time(nullptr)); };
    terminal.invokedFrom = WorkingFolder();
    terminal.fullPath = FullPath;
    return terminal;
}
