// The native builds' lock for ProgressSync; the Windows build has its own in
// progress_sync_win32.cpp.
#include "engine/job/progress_sync.h"

#include <mutex>
#include <new>

namespace {

std::mutex* Lock(unsigned char* storage) {
    return std::launder(reinterpret_cast<std::mutex*>(storage));
}

}  // namespace

ProgressSync::ProgressSync() {
    static_assert(sizeof(std::mutex) <= kLockStorage, "room for the mutex");
    static_assert(alignof(std::mutex) <= 8, "alignment of the mutex");
    new (lock_) std::mutex;
}

ProgressSync::~ProgressSync() {
    Lock(lock_)->~mutex();
}

void ProgressSync::Store(const JobProgress& progress) {
    std::lock_guard<std::mutex> held(*Lock(lock_));
    progress_ = progress;
}

JobProgress ProgressSync::Load() const {
    std::lock_guard<std::mutex> held(*Lock(lock_));
    return progress_;
}
