#include "engine/fat/extract_files.h"

#include <windows.h>

#include "engine/fat/ansi_names_win32.h"
#include "platform/handles_win32.h"

// Paths come in UTF-8 with "/" between their parts; the ANSI calls take them in the
// code page, and every Windows from 95 on takes "/" as "\".

namespace {

bool IsFolder(const std::string& ansi) {
    const DWORD attributes = GetFileAttributesA(ansi.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool WriteAll(HANDLE file, const uint8_t* data, size_t size) {
    while (size > 0) {
        const DWORD chunk = size > 0x100000 ? 0x100000 : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!::WriteFile(file, data, chunk, &written, NULL) || written == 0) return false;
        data += written;
        size -= written;
    }
    return true;
}

// An existing file is replaced by a new one; a folder of that name stays and the write fails.
UniqueHandle CreateNew(const std::string& ansi, bool replace, ExtractCreate* refusal) {
    UniqueHandle file(CreateFileA(ansi.c_str(), GENERIC_WRITE, 0, NULL, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL));
    if (file.Valid()) return file;
    const DWORD error = GetLastError();
    *refusal = ExtractCreate::Failed;
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return file;
    if (!replace) {
        *refusal = IsFolder(ansi) ? ExtractCreate::Failed : ExtractCreate::Exists;
        return file;
    }
    if (IsFolder(ansi)) return file;
    // A read-only file on the disk came out read-only last time: replacing was asked for.
    SetFileAttributesA(ansi.c_str(), FILE_ATTRIBUTE_NORMAL);
    file.Reset(CreateFileA(ansi.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL));
    return file;
}

}  // namespace

int SystemExtractFiles::MakeTargetFolder(const std::string& path) {
    const std::string ansi = AnsiOfUtf8(path);
    if (GetFileAttributesA(ansi.c_str()) != INVALID_FILE_ATTRIBUTES) return IsFolder(ansi) ? 0 : -1;
    const size_t slash = path.find_last_of("/\\");
    // "C:" and "\\server\share" are there or not: they are never made.
    if (slash != std::string::npos && slash > 0 && path[slash - 1] != ':' && path[slash - 1] != '\\' &&
        MakeTargetFolder(path.substr(0, slash)) != 0) {
        return -1;
    }
    return CreateDirectoryA(ansi.c_str(), NULL) || IsFolder(ansi) ? 0 : -1;
}

int SystemExtractFiles::MakeFolder(const std::string& path) {
    const std::string ansi = AnsiOfUtf8(path);
    if (CreateDirectoryA(ansi.c_str(), NULL)) return 0;
    return IsFolder(ansi) ? 0 : -1;
}

ExtractCreate SystemExtractFiles::WriteFile(const std::string& path, const uint8_t* data, size_t size,
                                            bool replace) {
    ExtractCreate refusal = ExtractCreate::Failed;
    UniqueHandle file = CreateNew(AnsiOfUtf8(path), replace, &refusal);
    if (!file.Valid()) return refusal;
    if (!WriteAll(file.Get(), data, size)) return ExtractCreate::Failed;
    return CloseHandle(file.Release()) ? ExtractCreate::Created : ExtractCreate::Failed;
}

int SystemExtractFiles::SetModified(const std::string& path, const FatTimestamp& stamp) {
    if (!stamp.Valid()) return 0;
    SYSTEMTIME local = {};
    local.wYear = static_cast<WORD>(stamp.year);
    local.wMonth = static_cast<WORD>(stamp.month);
    local.wDay = static_cast<WORD>(stamp.day);
    local.wHour = static_cast<WORD>(stamp.hour);
    local.wMinute = static_cast<WORD>(stamp.minute);
    local.wSecond = static_cast<WORD>(stamp.second);
    FILETIME localTime, utc;
    if (!SystemTimeToFileTime(&local, &localTime) || !LocalFileTimeToFileTime(&localTime, &utc)) return -1;
    const std::string ansi = AnsiOfUtf8(path);
    // A folder opens for its time only with backup semantics, which 95 ignores and cannot do.
    UniqueHandle file(CreateFileA(ansi.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, NULL));
    if (!file.Valid()) return -1;
    return SetFileTime(file.Get(), NULL, NULL, &utc) ? 0 : -1;
}
