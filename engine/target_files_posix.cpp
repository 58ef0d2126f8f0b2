// The native builds' file operations for TargetFiles; the Windows build has its own in
// target_files_win32.cpp.
#ifndef _WIN32
#include "engine/target_files.h"

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

NewFile SystemTargetFiles::CreateNew(const char* path) {
    const int file = open(path, O_WRONLY | O_CREAT | O_EXCL, 0666);
    if (file < 0) {
        return errno == EEXIST ? NewFile::Taken : NewFile::Failed;
    }
    close(file);
    return NewFile::Created;
}

// rename replaces an existing target in one step, whatever the family flag says.
bool SystemTargetFiles::Replace(const char* source, const char* target) {
    return rename(source, target) == 0;
}

bool SystemTargetFiles::Remove(const char* path) {
    return remove(path) == 0 || errno == ENOENT;
}
#endif
