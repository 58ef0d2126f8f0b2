#include "engine/fat/extract_files.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>

#include "engine/fat/descriptor_posix.h"

namespace {

int WriteAll(int fd, const uint8_t* data, size_t size) {
    while (size > 0) {
        const ssize_t written = write(fd, data, size);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return -1;
        data += written;
        size -= static_cast<size_t>(written);
    }
    return 0;
}

}  // namespace

int SystemExtractFiles::MakeTargetFolder(const std::string& path) {
    struct stat status;
    if (stat(path.c_str(), &status) == 0) return S_ISDIR(status.st_mode) ? 0 : -1;
    const size_t slash = path.find_last_of('/');
    if (slash != std::string::npos && slash > 0 && MakeTargetFolder(path.substr(0, slash)) != 0) return -1;
    return mkdir(path.c_str(), 0777) == 0 || errno == EEXIST ? 0 : -1;
}

int SystemExtractFiles::MakeFolder(const std::string& path) {
    if (mkdir(path.c_str(), 0777) == 0) return 0;
    struct stat status;
    return errno == EEXIST && lstat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode) ? 0 : -1;
}

ExtractCreate SystemExtractFiles::WriteFile(const std::string& path, const uint8_t* data, size_t size,
                                            bool replace) {
    const int flags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
    Descriptor file(open(path.c_str(), flags, 0666));
    if (file.Get() < 0 && errno == EEXIST) {
        struct stat status;
        if (!replace) return ExtractCreate::Exists;
        // The old file or link goes; a folder stays and the write fails.
        if (lstat(path.c_str(), &status) != 0 || S_ISDIR(status.st_mode) || unlink(path.c_str()) != 0) {
            return ExtractCreate::Failed;
        }
        Descriptor again(open(path.c_str(), flags, 0666));
        if (again.Get() < 0) return ExtractCreate::Failed;
        if (WriteAll(again.Get(), data, size) != 0) return ExtractCreate::Failed;
        return again.Close() == 0 ? ExtractCreate::Created : ExtractCreate::Failed;
    }
    if (file.Get() < 0) return ExtractCreate::Failed;
    if (WriteAll(file.Get(), data, size) != 0) return ExtractCreate::Failed;
    return file.Close() == 0 ? ExtractCreate::Created : ExtractCreate::Failed;
}

int SystemExtractFiles::SetModified(const std::string& path, const FatTimestamp& stamp) {
    if (!stamp.Valid()) return 0;
    struct tm local = {};
    local.tm_year = static_cast<int>(stamp.year) - 1900;
    local.tm_mon = static_cast<int>(stamp.month) - 1;
    local.tm_mday = static_cast<int>(stamp.day);
    local.tm_hour = static_cast<int>(stamp.hour);
    local.tm_min = static_cast<int>(stamp.minute);
    local.tm_sec = static_cast<int>(stamp.second);
    local.tm_isdst = -1;
    const time_t when = mktime(&local);
    if (when == static_cast<time_t>(-1)) return -1;
    const struct timespec times[2] = {{when, 0}, {when, 0}};
    return utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW) == 0 ? 0 : -1;
}
