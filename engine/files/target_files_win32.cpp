#include "engine/files/target_files.h"

#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <stdint.h>
#include <string.h>

#include "engine/files/replace_by_renames.h"

namespace {

bool NothingThere(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// The attributes of an old image that its successor keeps. A read-only one is never
// replaced; archive is set anew, since the new file has not been backed up.
constexpr DWORD kKeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// A binary stream over the handle of a file just made; null, and the handle closed, when
// the run-time library takes no more.
FILE* StreamOver(HANDLE file) {
    const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_BINARY | _O_WRONLY);
    if (descriptor < 0) {
        CloseHandle(file);
        return nullptr;
    }
    FILE* stream = _fdopen(descriptor, "wb");
    if (stream == nullptr) {
        _close(descriptor);
    }
    return stream;
}

// Gives the new file `path` what of the old image's attributes it keeps.
bool KeepAttributes(const char* path, const char* target) {
    const DWORD old = GetFileAttributesA(target);
    if (old == INVALID_FILE_ATTRIBUTES || (old & kKeptAttributes) == 0) {
        return true;
    }
    return SetFileAttributesA(path, (old & kKeptAttributes) | FILE_ATTRIBUTE_ARCHIVE) != 0;
}

// The 9x family's calls, where a rename never replaces.
class Win9xRenames final : public RenameCalls {
public:
    bool Exists(const char* path) override {
        return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES || !NothingThere(GetLastError());
    }
    bool Rename(const char* from, const char* to) override { return MoveFileA(from, to) != 0; }
    bool Remove(const char* path) override { return DeleteFileA(path) != 0; }
};

}  // namespace

NewFile SystemTargetFiles::CreateNew(const char* path, FILE** stream) {
    *stream = nullptr;
    // Shared for reading only, never for writing or deleting: while the file is open,
    // nobody else writes it, and its name can be neither removed nor given to another file.
    const HANDLE file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, NULL,
                                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) {
            return NewFile::Taken;
        }
        // A folder of that name answers "access denied", as a folder we may not write to does.
        return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES ? NewFile::Taken
                                                                    : NewFile::Failed;
    }
    *stream = StreamOver(file);
    if (*stream == nullptr) {
        DeleteFileA(path);
        return NewFile::Failed;
    }
    return NewFile::Created;
}

// Links are left to the system: MoveFileEx replaces the link itself.
bool SystemTargetFiles::ResolveLinks(const char* target, char* file, size_t size) {
    const size_t length = strlen(target);
    if (length >= size) {
        return false;
    }
    memcpy(file, target, length + 1);
    return true;
}

bool FlushToStableStorage(FILE* stream) {
    const HANDLE file = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    return fflush(stream) == 0 && FlushFileBuffers(file) != 0;
}

bool SystemTargetFiles::Close(FILE* stream, const char* path, const char* target) {
    // The attributes go first, while the open file still holds its name.
    bool kept = KeepAttributes(path, target) && FlushToStableStorage(stream);
    if (fclose(stream) != 0) {
        kept = false;
    }
    return kept;
}

Replacement SystemTargetFiles::Replace(const char* source, const char* target) {
    // Windows refuses to replace a read-only file, Wine does not, and the 9x family would
    // rename it aside: ask first, so that all keep it.
    const DWORD attributes = GetFileAttributesA(target);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        SetLastError(ERROR_ACCESS_DENIED);
        return Replacement::Refused;
    }
    if (ntFamily_) {
        // Write-through: the call returns once the new name is on the disk.
        return MoveFileExA(source, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0
                   ? Replacement::Done
                   : Replacement::Refused;
    }
    // MoveFileExA exists on the 9x family only to fail.
    Win9xRenames calls;
    return ReplaceByRenames(calls, source, target);
}

bool SystemTargetFiles::Remove(const char* path) {
    return DeleteFileA(path) != 0 || NothingThere(GetLastError());
}
