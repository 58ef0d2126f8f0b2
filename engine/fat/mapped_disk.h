#pragma once
#include <stddef.h>
#include <stdint.h>

// A raw image file's bytes mapped into memory, read from the file only as they are
// touched: a listing reads the FAT and the folders of a disk, not the whole of it.
// Unmapped when it goes. Where the system maps nothing, Map answers -1 and the caller
// loads the image instead.
class MappedDisk {
public:
    MappedDisk() = default;
    ~MappedDisk();
    MappedDisk(const MappedDisk&) = delete;
    MappedDisk& operator=(const MappedDisk&) = delete;

    // Maps the whole file at `path` when it holds a floppy's worth of bytes at most:
    // 0, or -1 with nothing shown.
    int Map(const char* path);
    const uint8_t* Data() const { return data_; }
    size_t Size() const { return size_; }

private:
    const uint8_t* data_ = nullptr;
    size_t size_ = 0;
};
