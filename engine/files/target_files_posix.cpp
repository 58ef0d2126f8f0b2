// The native builds' file operations for TargetFiles; the Windows build has its own in
// target_files_win32.cpp.
#include "engine/files/target_files.h"

#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// As the kernel's own limit on links followed in one path.
constexpr int kMaxLinkHops = 40;

// The length of the folder part of `path`, the last slash included.
size_t FolderLength(const char* path) {
    const char* slash = strrchr(path, '/');
    return slash != nullptr ? static_cast<size_t>(slash - path) + 1 : 0;
}

bool CopyName(const char* name, char* out, size_t size) {
    const size_t length = strlen(name);
    if (length >= size) {
        return false;
    }
    memcpy(out, name, length + 1);
    return true;
}

// Whether `path` still names the file open as `file`: the name may have been swapped.
bool StillNamed(int file, const char* path) {
    struct stat opened {};
    struct stat named {};
    return fstat(file, &opened) == 0 && lstat(path, &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

// Gives `file` the owner's group and permissions of `target`, where that exists; a new
// image keeps those its creation gave it (the umask's).
bool TakePermissions(int file, const char* target) {
    struct stat old {};
    if (stat(target, &old) != 0) {
        return errno == ENOENT;
    }
    mode_t mode = old.st_mode & 07777;
    // Only a member of the old group may give the file to it. Otherwise the image stays
    // in the user's own group, which must not gain what the old group was allowed.
    if (fchown(file, static_cast<uid_t>(-1), old.st_gid) != 0) {
        mode &= ~static_cast<mode_t>(S_ISGID | S_IRWXG);
    }
    return fchmod(file, mode) == 0;
}

// Makes a rename in the folder of `path` survive a power cut.
bool SyncFolderOf(const char* path) {
    char folder[PATH_MAX];
    const size_t length = FolderLength(path);
    if (length == 0) {
        folder[0] = '.';
        folder[1] = '\0';
    } else if (length < sizeof folder) {
        memcpy(folder, path, length);
        folder[length] = '\0';
    } else {
        return false;
    }
    const int handle = open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (handle < 0) {
        return false;
    }
    const bool synced = fsync(handle) == 0;
    close(handle);
    return synced;
}

}  // namespace

NewFile SystemTargetFiles::CreateNew(const char* path, FILE** stream) {
    *stream = nullptr;
    // O_EXCL refuses an existing name, a link of that name included.
    const int file = open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (file < 0) {
        return errno == EEXIST ? NewFile::Taken : NewFile::Failed;
    }
    *stream = fdopen(file, "wb");
    if (*stream == nullptr) {
        close(file);
        unlink(path);
        return NewFile::Failed;
    }
    return NewFile::Created;
}

bool SystemTargetFiles::ResolveLinks(const char* target, char* file, size_t size) {
    if (!CopyName(target, file, size)) {
        return false;
    }
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat status {};
        if (lstat(file, &status) != 0 || !S_ISLNK(status.st_mode)) {
            return true;  // the file itself, or the name a new one will get
        }
        char link[PATH_MAX];
        const ssize_t length = readlink(file, link, sizeof link - 1);
        if (length < 0) {
            return false;
        }
        link[length] = '\0';
        // A relative link counts from the folder it is in.
        const size_t folder = link[0] == '/' ? 0 : FolderLength(file);
        if (!CopyName(link, file + folder, size - folder)) {
            return false;
        }
    }
    return false;
}

bool FlushToStableStorage(FILE* stream) {
    return fflush(stream) == 0 && fsync(fileno(stream)) == 0;
}

bool SystemTargetFiles::Close(FILE* stream, const char* path, const char* target) {
    const int file = fileno(stream);
    bool kept = StillNamed(file, path) && TakePermissions(file, target) && FlushToStableStorage(stream);
    if (fclose(stream) != 0) {
        kept = false;
    }
    return kept;
}

// rename replaces an existing target in one step, whatever the family flag says.
Replacement SystemTargetFiles::Replace(const char* source, const char* target) {
    if (rename(source, target) != 0) {
        return Replacement::Refused;
    }
    // Until the folder is on the disk, a power cut may bring back the old name. The
    // rename is made all the same: failing now would call a changed target unchanged.
    SyncFolderOf(target);
    return Replacement::Done;
}

bool SystemTargetFiles::Remove(const char* path) {
    return remove(path) == 0 || errno == ENOENT;
}
