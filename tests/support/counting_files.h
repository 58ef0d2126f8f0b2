#pragma once
#include <stddef.h>
#include <stdio.h>

#include <map>
#include <string>
#include <vector>

// A layer between the code under test and the C library's stdio, for the fault tests:
// while an object lives it counts every stream opened (by name or over a descriptor) and
// closed, records the order of syncs and renames, and puts in the faults it is told to.
// Natively the core tests are linked with --wrap for fopen, fdopen, fclose, fread, fsync
// and rename, which route the calls through here (no object alive: straight through).
// Other builds have no such link: Available() is false and nothing is counted.
class CountingFiles {
public:
    CountingFiles();
    ~CountingFiles();
    CountingFiles(const CountingFiles&) = delete;
    CountingFiles& operator=(const CountingFiles&) = delete;

    static bool Available();

    // Faults. A failing close still closes the stream, as a full network drive would:
    // only the last buffered bytes are lost, and the caller is told.
    bool failEveryClose = false;
    // Each stream delivers at most this many bytes in all; the read that would pass that
    // point delivers what is left before it, short, as a failing medium does. Negative:
    // no limit.
    long readLimit = -1;

    int opens = 0;
    int closes = 0;
    int OpenNow() const { return opens - closes; }
    // "sync file", "sync folder" and "rename", in the order they were asked for.
    std::vector<std::string> storage;

    // The layer's calls; the wrappers only forward here.
    FILE* Open(const char* path, const char* mode);
    FILE* Adopt(int descriptor, const char* mode);
    int Sync(int descriptor);
    int Rename(const char* from, const char* to);
    int Close(FILE* file);
    size_t Read(void* buffer, size_t size, size_t count, FILE* file);

private:
    FILE* Count(FILE* file);

    std::map<FILE*, long> delivered_;  // bytes each open stream has delivered
};
