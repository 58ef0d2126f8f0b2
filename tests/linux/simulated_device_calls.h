#pragma once
#include <errno.h>
#include <stdint.h>

#include <map>
#include <string>
#include <vector>

#include "linux/device_calls.h"

// One device path over an in-memory disk, as the kernel would show it: a floppy drive
// (FDGETPRM answers), a USB-style block device (only BLKGETSIZE64) or a regular file,
// with the faults real ones show. Other paths are missing, except the mount sources
// given in `mountSources`.
class SimulatedDeviceCalls final : public DeviceCalls {
public:
    enum class Kind { FloppyDrive, BlockDevice, File, Fifo };

    explicit SimulatedDeviceCalls(std::string path, Kind kind = Kind::BlockDevice, uint64_t bytes = 1474560);

    // The disk; its size is what BLKGETSIZE64 or stat tell. A device larger than any
    // floppy holds no bytes here, only its size in `largeBytes`.
    std::string disk;
    uint64_t largeBytes = 0;
    static constexpr uint64_t kLargestHeld = 4 << 20;
    // FDGETPRM's answer for a floppy drive: sectors per track and heads; the disk's
    // sectors and its cylinders follow from its size unless given (not 0).
    uint32_t floppySectors = 18;
    uint32_t floppyHeads = 2;
    uint32_t floppyTotalSectors = 0;
    uint32_t floppyCylinders = 0;
    // Faults: an errno for every open in that direction; EIO for reads covering the
    // sector; an errno for writes covering the sector; an errno from fsync.
    int openReadError = 0;
    int openWriteError = 0;
    std::map<uint32_t, int> badReadSectors;
    std::map<uint32_t, int> badWriteSectors;
    int flushError = 0;
    // Sectors whose writes report success and change nothing: only a verify finds them.
    std::map<uint32_t, int> silentlyLostSectors;
    bool readOnly = false;  // BLKROGET's answer
    // A medium that has gone: the node removed (an unplugged USB drive), or an errno for
    // FDGETPRM and BLKGETSIZE64.
    bool removed = false;
    int queryError = 0;
    // /proc/self/mounts, and the device numbers of its sources.
    std::string mounts;
    std::map<std::string, uint64_t> mountSources;
    static constexpr uint64_t kDeviceNumber = 0x0802;  // 8:2
    // A made-up sysfs: its files' texts and its links (a path and where it leads), folders
    // being what lies under them.
    std::map<std::string, std::string> sysFiles;
    std::map<std::string, std::string> sysLinks;

    // The record.
    struct OpenRecord {
        bool write;
        bool exclusive;
        bool synchronous;
    };
    std::vector<OpenRecord> opens;
    int openDescriptors = 0;
    int flushes = 0;
    int cacheDrops = 0;

    NodeFacts Inspect(const char* path) override;
    int Open(const char* path, bool write, bool exclusive, bool synchronous) override;
    int FloppyFormat(int fd, FloppyParameters* parameters) override;
    int BlockDeviceBytes(int fd, uint64_t* bytes) override;
    int BlockDeviceReadOnly(int fd, bool* isReadOnly) override;
    long ReadAt(int fd, void* buffer, size_t bytes, uint64_t offset) override;
    long WriteAt(int fd, const void* buffer, size_t bytes, uint64_t offset) override;
    int Flush(int fd) override;
    void DropCache(int fd) override;
    void Close(int fd) override;
    bool ReadMounts(char* buffer, size_t size, size_t* length) override;
    int ReadSmallFile(const char* path, std::string* text) override;
    int ListFolder(const char* path, std::vector<std::string>* names) override;
    int ResolvePath(const char* path, std::string* resolved) override;

private:
    std::string Resolved(std::string path) const;
    bool Exists(const std::string& path) const;
    bool Covers(const std::map<uint32_t, int>& sectors, uint64_t offset, size_t bytes, int* error) const;

    std::string path_;
    Kind kind_;
    std::map<int, bool> descriptors_;  // fd -> opened for writing
    int nextDescriptor_ = 10;
};
