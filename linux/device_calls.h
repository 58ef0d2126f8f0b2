#pragma once
#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

// What a device path turned out to be.
enum class NodeKind { Missing, BlockDevice, RegularFile, Other };

struct NodeFacts {
    NodeKind kind = NodeKind::Missing;
    uint64_t deviceNumber = 0;  // st_rdev of a block device
    uint64_t size = 0;          // st_size of a regular file
    int error = 0;              // errno when Missing
};

// FDGETPRM's answer (struct floppy_struct): the medium's format as the floppy driver
// sees it.
struct FloppyParameters {
    uint32_t size = 0;   // sectors on the disk
    uint32_t sect = 0;   // sectors per track
    uint32_t head = 0;   // heads
    uint32_t track = 0;  // cylinders
};

// The system calls the device layer makes, so that tests can put a simulated block
// device with its faults in their place. Every call answers -errno on failure.
class DeviceCalls {
public:
    virtual NodeFacts Inspect(const char* path) = 0;
    // A descriptor, or -errno. `exclusive`: O_EXCL, which a block device refuses with
    // EBUSY while it is mounted or opened exclusively elsewhere.
    virtual int Open(const char* path, bool write, bool exclusive, bool synchronous) = 0;
    // FDGETPRM: the format of the medium in a floppy drive.
    virtual int FloppyFormat(int fd, FloppyParameters* parameters) = 0;
    // BLKGETSIZE64: the byte size of a block device.
    virtual int BlockDeviceBytes(int fd, uint64_t* bytes) = 0;
    // BLKROGET: the block device refuses writes (a write-protected medium, a read-only
    // loop device), which the kernel may only tell at the first write, with EPERM.
    virtual int BlockDeviceReadOnly(int fd, bool* readOnly) = 0;
    // Bytes moved (0 at the end), or -errno.
    virtual long ReadAt(int fd, void* buffer, size_t bytes, uint64_t offset) = 0;
    virtual long WriteAt(int fd, const void* buffer, size_t bytes, uint64_t offset) = 0;
    // fsync: written data reached the device, or the error that kept it.
    virtual int Flush(int fd) = 0;
    // Drops what the system keeps of the device in memory, so that the next reads come
    // from the medium itself (a verify reads back what was just written).
    virtual void DropCache(int fd) = 0;
    virtual void Close(int fd) = 0;
    // The text of /proc/self/mounts, "" when it cannot be read.
    virtual bool ReadMounts(char* buffer, size_t size, size_t* length) = 0;
    // What the drive search reads of sysfs. A small file's text (a few kB at most), the
    // names in a folder (without "." and ".."), and a path with every link resolved.
    virtual int ReadSmallFile(const char* path, std::string* text) = 0;
    virtual int ListFolder(const char* path, std::vector<std::string>* names) = 0;
    virtual int ResolvePath(const char* path, std::string* resolved) = 0;

protected:
    ~DeviceCalls() = default;
};
