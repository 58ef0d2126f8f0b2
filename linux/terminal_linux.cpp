#include "linux/terminal_linux.h"

#include <fcntl.h>
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

int AskOnTerminal(const std::string& question) {
    FILE* terminal = fopen("/dev/tty", "r+e");
    if (terminal == nullptr) return -1;
    fputs(question.c_str(), terminal);
    fflush(terminal);
    char answer[64] = "";
    const bool got = fgets(answer, sizeof answer, terminal) != nullptr;
    if (!got) fputc('\n', terminal);
    fclose(terminal);
    return got && (answer[0] == 'y' || answer[0] == 'Y') ? 1 : 0;
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
