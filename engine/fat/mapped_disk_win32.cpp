#include "engine/fat/mapped_disk.h"

// The Windows program loads its images whole.
MappedDisk::~MappedDisk() = default;

int MappedDisk::Map(const char*) {
    return -1;
}
