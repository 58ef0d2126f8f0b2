#include "tests/support/counting_files.h"

#include <gtest/gtest.h>

#if defined(_WIN32)
#include <io.h>
#endif

#if !defined(_WIN32)
#include <sys/stat.h>
#include <unistd.h>

extern "C" {
FILE* __real_fopen(const char* path, const char* mode);
FILE* __real_fdopen(int descriptor, const char* mode);
int __real_fsync(int descriptor);
int __real_rename(const char* from, const char* to);
int __real_fclose(FILE* file);
size_t __real_fread(void* buffer, size_t size, size_t count, FILE* file);
}
#endif

namespace {

// The one layer alive, if any. Jobs run on the test's thread, so nothing races for it.
CountingFiles* g_active = nullptr;

}  // namespace

CountingFiles::CountingFiles() {
    EXPECT_EQ(g_active, nullptr) << "one counting file layer at a time";
    g_active = this;
}

CountingFiles::~CountingFiles() {
    g_active = nullptr;
}

#if defined(_WIN32)

bool CountingFiles::Available() { return false; }
FILE* CountingFiles::Open(const char* path, const char* mode) { return fopen(path, mode); }
FILE* CountingFiles::Adopt(int descriptor, const char* mode) { return _fdopen(descriptor, mode); }
int CountingFiles::Sync(int descriptor) { return _commit(descriptor); }
int CountingFiles::Rename(const char* from, const char* to) { return rename(from, to); }
int CountingFiles::Close(FILE* file) { return fclose(file); }
size_t CountingFiles::Read(void* buffer, size_t size, size_t count, FILE* file) {
    return fread(buffer, size, count, file);
}

#else

bool CountingFiles::Available() { return true; }

FILE* CountingFiles::Count(FILE* file) {
    if (file != nullptr) {
        ++opens;
        delivered_[file] = 0;
    }
    return file;
}

FILE* CountingFiles::Open(const char* path, const char* mode) {
    return Count(__real_fopen(path, mode));
}

FILE* CountingFiles::Adopt(int descriptor, const char* mode) {
    return Count(__real_fdopen(descriptor, mode));
}

int CountingFiles::Sync(int descriptor) {
    struct stat status {};
    const bool folder = fstat(descriptor, &status) == 0 && S_ISDIR(status.st_mode);
    storage.push_back(folder ? "sync folder" : "sync file");
    return __real_fsync(descriptor);
}

int CountingFiles::Rename(const char* from, const char* to) {
    storage.push_back("rename");
    return __real_rename(from, to);
}

int CountingFiles::Close(FILE* file) {
    if (delivered_.erase(file) != 0) {
        ++closes;
    }
    const int result = __real_fclose(file);
    return failEveryClose ? EOF : result;
}

size_t CountingFiles::Read(void* buffer, size_t size, size_t count, FILE* file) {
    auto found = delivered_.find(file);
    if (readLimit < 0 || size == 0 || found == delivered_.end()) {
        return __real_fread(buffer, size, count, file);
    }
    const long left = readLimit - found->second;
    const size_t items = left <= 0 ? 0 : static_cast<size_t>(left) / size;
    if (items >= count) {
        const size_t got = __real_fread(buffer, size, count, file);
        found->second += static_cast<long>(got * size);
        return got;
    }
    const size_t got = items == 0 ? 0 : __real_fread(buffer, size, items, file);
    found->second += static_cast<long>(got * size);
    return got;
}

extern "C" {

FILE* __wrap_fopen(const char* path, const char* mode) {
    return g_active != nullptr ? g_active->Open(path, mode) : __real_fopen(path, mode);
}

int __wrap_fclose(FILE* file) {
    return g_active != nullptr ? g_active->Close(file) : __real_fclose(file);
}

FILE* __wrap_fdopen(int descriptor, const char* mode) {
    return g_active != nullptr ? g_active->Adopt(descriptor, mode) : __real_fdopen(descriptor, mode);
}

int __wrap_fsync(int descriptor) {
    return g_active != nullptr ? g_active->Sync(descriptor) : __real_fsync(descriptor);
}

int __wrap_rename(const char* from, const char* to) {
    return g_active != nullptr ? g_active->Rename(from, to) : __real_rename(from, to);
}

size_t __wrap_fread(void* buffer, size_t size, size_t count, FILE* file) {
    return g_active != nullptr ? g_active->Read(buffer, size, count, file)
                               : __real_fread(buffer, size, count, file);
}

}  // extern "C"

#endif
