#include "linux/system_device_calls_linux.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <linux/fd.h>
#include <linux/fs.h>
#include <stdlib.h>
#include <string.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>

NodeFacts SystemDeviceCalls::Inspect(const char* path) {
    NodeFacts facts;
    struct stat status;
    if (stat(path, &status) != 0) {
        facts.error = errno;
        return facts;
    }
    if (S_ISBLK(status.st_mode)) {
        facts.kind = NodeKind::BlockDevice;
        facts.deviceNumber = status.st_rdev;
    } else if (S_ISREG(status.st_mode)) {
        facts.kind = NodeKind::RegularFile;
        facts.size = static_cast<uint64_t>(status.st_size);
    } else {
        facts.kind = NodeKind::Other;
    }
    return facts;
}

int SystemDeviceCalls::Open(const char* path, bool write, bool exclusive, bool synchronous) {
    int flags = (write ? O_RDWR : O_RDONLY) | O_CLOEXEC;
    if (exclusive) flags |= O_EXCL;
    if (synchronous) flags |= O_DSYNC;
    int fd;
    do {
        fd = open(path, flags);
    } while (fd < 0 && errno == EINTR);
    return fd >= 0 ? fd : -errno;
}

int SystemDeviceCalls::FloppyFormat(int fd, FloppyParameters* parameters) {
    struct floppy_struct answer = {};
    if (ioctl(fd, FDGETPRM, &answer) != 0) return -errno;
    parameters->size = answer.size;
    parameters->sect = answer.sect;
    parameters->head = answer.head;
    parameters->track = answer.track;
    return 0;
}

int SystemDeviceCalls::BlockDeviceBytes(int fd, uint64_t* bytes) {
    uint64_t size = 0;
    if (ioctl(fd, BLKGETSIZE64, &size) != 0) return -errno;
    *bytes = size;
    return 0;
}

int SystemDeviceCalls::BlockDeviceReadOnly(int fd, bool* readOnly) {
    int value = 0;
    if (ioctl(fd, BLKROGET, &value) != 0) return -errno;
    *readOnly = value != 0;
    return 0;
}

long SystemDeviceCalls::ReadAt(int fd, void* buffer, size_t bytes, uint64_t offset) {
    ssize_t got;
    do {
        got = pread(fd, buffer, bytes, static_cast<off_t>(offset));
    } while (got < 0 && errno == EINTR);
    return got >= 0 ? static_cast<long>(got) : -errno;
}

long SystemDeviceCalls::WriteAt(int fd, const void* buffer, size_t bytes, uint64_t offset) {
    ssize_t put;
    do {
        put = pwrite(fd, buffer, bytes, static_cast<off_t>(offset));
    } while (put < 0 && errno == EINTR);
    return put >= 0 ? static_cast<long>(put) : -errno;
}

int SystemDeviceCalls::Flush(int fd) {
    return fsync(fd) == 0 ? 0 : -errno;
}

void SystemDeviceCalls::DropCache(int fd) {
    posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
}

void SystemDeviceCalls::Close(int fd) {
    close(fd);
}

bool SystemDeviceCalls::ReadMounts(char* buffer, size_t size, size_t* length) {
    *length = 0;
    const int fd = open("/proc/self/mounts", O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    for (;;) {
        const ssize_t got = read(fd, buffer + *length, size - *length);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        *length += static_cast<size_t>(got);
        if (*length == size) break;
    }
    close(fd);
    return true;
}

int SystemDeviceCalls::ReadSmallFile(const char* path, std::string* text) {
    text->clear();
    const int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return -errno;
    char buffer[4096];
    int result = 0;
    for (;;) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) result = -errno;
        if (got <= 0 || text->size() >= 65536) break;
        text->append(buffer, static_cast<size_t>(got));
    }
    close(fd);
    return result;
}

namespace {

// Closes a folder stream when it goes out of scope.
struct FolderCloser {
    void operator()(DIR* folder) const { closedir(folder); }
};

}  // namespace

int SystemDeviceCalls::ListFolder(const char* path, std::vector<std::string>* names) {
    names->clear();
    const std::unique_ptr<DIR, FolderCloser> folder(opendir(path));
    if (!folder) return -errno;
    while (const struct dirent* entry = readdir(folder.get())) {
        if (strcmp(entry->d_name, ".") != 0 && strcmp(entry->d_name, "..") != 0) names->push_back(entry->d_name);
    }
    return 0;
}

int SystemDeviceCalls::ResolvePath(const char* path, std::string* resolved) {
    char buffer[PATH_MAX];
    if (realpath(path, buffer) == nullptr) return -errno;
    *resolved = buffer;
    return 0;
}
