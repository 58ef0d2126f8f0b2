#include "linux/terminal_start_files.h"

#include <errno.h>
#include <sys/stat.h>
#include <unistd.h>

bool TerminalStartFiles::FileOpensForReading(const std::string& path) {
    return access(path.c_str(), R_OK) == 0;
}

bool TerminalStartFiles::FileExists(const std::string& path) {
    return access(path.c_str(), F_OK) == 0;
}

// Only a refusal for want of permission counts: any other failure is left to the job,
// which reports it with the system's reason.
bool TerminalStartFiles::FileIsReadOnly(const std::string& path) {
    return access(path.c_str(), W_OK) != 0 && errno == EACCES;
}

bool TerminalStartFiles::SameFile(const std::string& one, const std::string& other) {
    struct stat first, second;
    return stat(one.c_str(), &first) == 0 && stat(other.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}
