#include "engine/job/progress_sync.h"

#include <windows.h>


namespace {

CRITICAL_SECTION* Lock(unsigned char* storage) {
    return reinterpret_cast<CRITICAL_SECTION*>(storage);
}

// Leaves the section however the copy in between ends.
class Held {
public:
    explicit Held(CRITICAL_SECTION* section) : section_(section) { EnterCriticalSection(section_); }
    ~Held() { LeaveCriticalSection(section_); }
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;

private:
    CRITICAL_SECTION* section_;
};

}  // namespace

ProgressSync::ProgressSync() {
    static_assert(sizeof(CRITICAL_SECTION) <= kLockStorage, "room for the critical section");
    InitializeCriticalSection(Lock(lock_));
}

ProgressSync::~ProgressSync() {
    DeleteCriticalSection(Lock(lock_));
}

void ProgressSync::Store(const JobProgress& progress) {
    Held held(Lock(lock_));
    progress_ = progress;
}

JobProgress ProgressSync::Load() const {
    Held held(Lock(lock_));
    return progress_;
}
