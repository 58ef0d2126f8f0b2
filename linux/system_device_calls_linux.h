#pragma once
#include "linux/device_calls.h"

// The real calls: stat, open, the floppy and block-device ioctls, pread and pwrite,
// and the reads of sysfs.
class SystemDeviceCalls final : public DeviceCalls {
public:
    NodeFacts Inspect(const char* path) override;
    int Open(const char* path, bool write, bool exclusive, bool synchronous) override;
    int FloppyFormat(int fd, FloppyParameters* parameters) override;
    int BlockDeviceBytes(int fd, uint64_t* bytes) override;
    int BlockDeviceReadOnly(int fd, bool* readOnly) override;
    long ReadAt(int fd, void* buffer, size_t bytes, uint64_t offset) override;
    long WriteAt(int fd, const void* buffer, size_t bytes, uint64_t offset) override;
    int Flush(int fd) override;
    void DropCache(int fd) override;
    void Close(int fd) override;
    bool ReadMounts(char* buffer, size_t size, size_t* length) override;
    int ReadSmallFile(const char* path, std::string* text) override;
    int ListFolder(const char* path, std::vector<std::string>* names) override;
    int ResolvePath(const char* path, std::string* resolved) override;
};
