#include "tests/support/counting_files.h"

#include <gtest/gtest.h>

#if !defined(_WIN32)
extern "C" {
FILE* __real_fopen(const char* path, const char* mode);
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
int CountingFiles::Close(FILE* file) { return fclose(file); }
size_t CountingFiles::Read(void* buffer, size_t size, size_t count, FILE* file) {
    return fread(buffer, size, count, file);
}

#else

bool CountingFiles::Available() { return true; }

FILE* CountingFiles::Open(const char* path, const char* mode) {
    FILE* file = __real_fopen(path, mode);
    if (file != nullptr) {
        ++opens;
        delivered_[file] = 0;
    }
    return file;
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

size_t __wrap_fread(void* buffer, size_t size, size_t count, FILE* file) {
    return g_active != nullptr ? g_active->Read(buffer, size, count, file)
                               : __real_fread(buffer, size, count, file);
}

}  // extern "C"

#endif
