#include "tests/linux/simulated_device_calls.h"

#include <string.h>

#include <set>

SimulatedDeviceCalls::SimulatedDeviceCalls(std::string path, Kind kind, uint64_t bytes)
    : disk(bytes <= kLargestHeld ? bytes : 0, '\0'), largeBytes(bytes <= kLargestHeld ? 0 : bytes),
      path_(std::move(path)), kind_(kind) {
    for (uint64_t i = 0; i < disk.size(); ++i) disk[i] = static_cast<char>((i * 7 + i / 512) & 0xFF);
}

NodeFacts SimulatedDeviceCalls::Inspect(const char* path) {
    NodeFacts facts;
    auto source = mountSources.find(path);
    if (source != mountSources.end()) {
        facts.kind = NodeKind::BlockDevice;
        facts.deviceNumber = source->second;
        return facts;
    }
    if (path_ != path || removed) {
        facts.error = ENOENT;
        return facts;
    }
    switch (kind_) {
    case Kind::FloppyDrive:
    case Kind::BlockDevice:
        facts.kind = NodeKind::BlockDevice;
        facts.deviceNumber = kDeviceNumber;
        break;
    case Kind::File:
        facts.kind = NodeKind::RegularFile;
        facts.size = largeBytes != 0 ? largeBytes : disk.size();
        break;
    case Kind::Fifo:
        facts.kind = NodeKind::Other;
        break;
    }
    return facts;
}

int SimulatedDeviceCalls::Open(const char* path, bool write, bool exclusive, bool synchronous) {
    opens.push_back({write, exclusive, synchronous});
    if (path_ != path || removed) return -ENOENT;
    const int error = write ? openWriteError : openReadError;
    if (error != 0) return -error;
    const int fd = nextDescriptor_++;
    descriptors_[fd] = write;
    ++openDescriptors;
    return fd;
}

int SimulatedDeviceCalls::FloppyFormat(int fd, FloppyParameters* parameters) {
    if (descriptors_.count(fd) == 0) return -EBADF;
    if (kind_ != Kind::FloppyDrive) return -ENOTTY;
    if (queryError != 0) return -queryError;
    const uint32_t sectors = static_cast<uint32_t>(disk.size() / 512);
    const uint32_t perCylinder = floppySectors * floppyHeads;
    parameters->size = floppyTotalSectors != 0 ? floppyTotalSectors : sectors;
    parameters->sect = floppySectors;
    parameters->head = floppyHeads;
    parameters->track = floppyCylinders != 0 || perCylinder == 0 ? floppyCylinders
                                                                 : parameters->size / perCylinder;
    return 0;
}

int SimulatedDeviceCalls::BlockDeviceBytes(int fd, uint64_t* bytes) {
    if (descriptors_.count(fd) == 0) return -EBADF;
    if (kind_ == Kind::File) return -ENOTTY;
    if (queryError != 0) return -queryError;
    *bytes = largeBytes != 0 ? largeBytes : disk.size();
    return 0;
}

int SimulatedDeviceCalls::BlockDeviceReadOnly(int fd, bool* isReadOnly) {
    if (descriptors_.count(fd) == 0) return -EBADF;
    if (kind_ == Kind::File) return -ENOTTY;
    *isReadOnly = readOnly;
    return 0;
}

bool SimulatedDeviceCalls::Covers(const std::map<uint32_t, int>& sectors, uint64_t offset, size_t bytes,
                                  int* error) const {
    for (const auto& sector : sectors) {
        const uint64_t start = uint64_t(sector.first) * 512;
        if (start < offset + bytes && offset < start + 512) {
            *error = sector.second;
            return true;
        }
    }
    return false;
}

long SimulatedDeviceCalls::ReadAt(int fd, void* buffer, size_t bytes, uint64_t offset) {
    if (descriptors_.count(fd) == 0) return -EBADF;
    int error = 0;
    if (Covers(badReadSectors, offset, bytes, &error)) return -error;
    if (offset >= disk.size()) return 0;
    const size_t count = std::min<uint64_t>(bytes, disk.size() - offset);
    memcpy(buffer, disk.data() + offset, count);
    return static_cast<long>(count);
}

long SimulatedDeviceCalls::WriteAt(int fd, const void* buffer, size_t bytes, uint64_t offset) {
    auto descriptor = descriptors_.find(fd);
    if (descriptor == descriptors_.end() || !descriptor->second) return -EBADF;
    int error = 0;
    if (Covers(badWriteSectors, offset, bytes, &error)) return -error;
    if (offset + bytes > disk.size()) {
        if (kind_ != Kind::File) return -ENOSPC;
        disk.resize(offset + bytes);
    }
    const std::string before = disk.substr(offset, bytes);
    memcpy(&disk[offset], buffer, bytes);
    for (const auto& lost : silentlyLostSectors) {
        const uint64_t start = uint64_t(lost.first) * 512;
        if (start >= offset && start + 512 <= offset + bytes) {
            disk.replace(start, 512, before.substr(start - offset, 512));
        }
    }
    return static_cast<long>(bytes);
}

int SimulatedDeviceCalls::Flush(int fd) {
    if (descriptors_.count(fd) == 0) return -EBADF;
    ++flushes;
    return flushError != 0 ? -flushError : 0;
}

void SimulatedDeviceCalls::DropCache(int fd) {
    if (descriptors_.count(fd) != 0) ++cacheDrops;
}

void SimulatedDeviceCalls::Close(int fd) {
    if (descriptors_.erase(fd) != 0) --openDescriptors;
}

bool SimulatedDeviceCalls::ReadMounts(char* buffer, size_t size, size_t* length) {
    *length = std::min(size, mounts.size());
    memcpy(buffer, mounts.data(), *length);
    return true;
}

// The path with its leading part replaced, for as long as a link leads on.
std::string SimulatedDeviceCalls::Resolved(std::string path) const {
    for (int hops = 0; hops < 40; ++hops) {
        bool followed = false;
        for (const auto& link : sysLinks) {
            const std::string& from = link.first;
            if (path.compare(0, from.size(), from) == 0 && (path.size() == from.size() || path[from.size()] == '/')) {
                path = link.second + path.substr(from.size());
                followed = true;
                break;
            }
        }
        if (!followed) break;
    }
    return path;
}

bool SimulatedDeviceCalls::Exists(const std::string& path) const {
    const std::string folder = path + "/";
    for (const auto* table : {&sysFiles, &sysLinks}) {
        for (const auto& entry : *table) {
            if (entry.first == path || entry.first.compare(0, folder.size(), folder) == 0) return true;
        }
    }
    return false;
}

int SimulatedDeviceCalls::ReadSmallFile(const char* path, std::string* text) {
    auto file = sysFiles.find(Resolved(path));
    if (file == sysFiles.end()) return -ENOENT;
    *text = file->second;
    return 0;
}

int SimulatedDeviceCalls::ListFolder(const char* path, std::vector<std::string>* names) {
    const std::string folder = Resolved(path) + "/";
    std::set<std::string> found;
    for (const auto* table : {&sysFiles, &sysLinks}) {
        for (const auto& entry : *table) {
            if (entry.first.compare(0, folder.size(), folder) != 0) continue;
            found.insert(entry.first.substr(folder.size(), entry.first.find('/', folder.size()) - folder.size()));
        }
    }
    if (found.empty()) return -ENOENT;
    names->assign(found.begin(), found.end());
    return 0;
}

int SimulatedDeviceCalls::ResolvePath(const char* path, std::string* resolved) {
    *resolved = Resolved(path);
    return Exists(*resolved) || *resolved != path ? 0 : -ENOENT;
}
