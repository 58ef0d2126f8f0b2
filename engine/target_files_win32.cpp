#include "engine/target_files.h"

#include <windows.h>

#include "engine/device_handle_win32.h"

namespace {

bool NothingThere(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

}  // namespace

NewFile SystemTargetFiles::CreateNew(const char* path) {
    ScopedDeviceHandle file(CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, NULL));
    if (file.valid()) {
        return NewFile::Created;
    }
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) {
        return NewFile::Taken;
    }
    // A folder of that name answers "access denied", as a folder we may not write to does.
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES ? NewFile::Taken : NewFile::Failed;
}

bool SystemTargetFiles::Replace(const char* source, const char* target) {
    if (ntFamily_) {
        // Windows refuses to replace a read-only file, Wine does not: ask first, so that
        // both keep it.
        const DWORD attributes = GetFileAttributesA(target);
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
            SetLastError(ERROR_ACCESS_DENIED);
            return false;
        }
        return MoveFileExA(source, target, MOVEFILE_REPLACE_EXISTING) != 0;
    }
    // MoveFileExA exists on the 9x family only to fail; DeleteFileA refuses a read-only or
    // open target there too, before anything is lost.
    if (!DeleteFileA(target) && !NothingThere(GetLastError())) {
        return false;
    }
    return MoveFileA(source, target) != 0;
}

bool SystemTargetFiles::Remove(const char* path) {
    return DeleteFileA(path) != 0 || NothingThere(GetLastError());
}
