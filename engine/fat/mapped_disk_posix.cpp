#include "engine/fat/mapped_disk.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>

#include "engine/device/floppy_type.h"
#include "engine/fat/descriptor_posix.h"

MappedDisk::~MappedDisk() {
    if (data_ != nullptr) munmap(const_cast<uint8_t*>(data_), size_);
}

int MappedDisk::Map(const char* path) {
    const Descriptor file(open(path, O_RDONLY | O_CLOEXEC));
    struct stat status;
    if (data_ != nullptr || file.Get() < 0 || fstat(file.Get(), &status) != 0 || !S_ISREG(status.st_mode) ||
        status.st_size <= 0 || static_cast<uint64_t>(status.st_size) > kLargestFloppyBytes) {
        return -1;
    }
    const size_t bytes = static_cast<size_t>(status.st_size);
    void* mapped = mmap(nullptr, bytes, PROT_READ, MAP_PRIVATE, file.Get(), 0);
    if (mapped == MAP_FAILED) return -1;
    data_ = static_cast<const uint8_t*>(mapped);
    size_ = bytes;
    return 0;
}
