#include "linux/unfinished_files_linux.h"

#include <signal.h>
#include <string.h>
#include <unistd.h>

#include "engine/job/job_request.h"

namespace {

// A signal handler can reach nothing but static storage. The program runs one job at a
// time on its main thread, where the handler runs too; a job holds at most three such
// files at once (the image, its map, an earlier map set aside).
struct Slot {
    volatile sig_atomic_t used;
    char path[kJobPathSize];
};
Slot slots[4];

void Note(const char* path) {
    if (strlen(path) >= kJobPathSize) return;
    for (Slot& slot : slots) {
        if (slot.used != 0) continue;
        strcpy(slot.path, path);
        slot.used = 1;  // only once the name is whole
        return;
    }
}

void Forget(const char* path) {
    for (Slot& slot : slots) {
        if (slot.used != 0 && strcmp(slot.path, path) == 0) slot.used = 0;
    }
}

}  // namespace

NewFile UnfinishedFiles::CreateNew(const char* path, FILE** stream) {
    const NewFile made = SystemTargetFilesLayer::CreateNew(path, stream);
    if (made == NewFile::Created) Note(path);
    return made;
}

// Whatever the outcome, a name that took part may now hold bytes that are not the job's
// own: neither is removed on an interrupt.
Replacement UnfinishedFiles::Replace(const char* source, const char* target) {
    const Replacement done = SystemTargetFilesLayer::Replace(source, target);
    if (done != Replacement::Refused) {
        Forget(source);
        Forget(target);
    }
    return done;
}

bool UnfinishedFiles::Remove(const char* path) {
    const bool removed = SystemTargetFilesLayer::Remove(path);
    if (removed) Forget(path);
    return removed;
}

void RemoveUnfinishedFiles() {
    for (Slot& slot : slots) {
        if (slot.used != 0) unlink(slot.path);
    }
}
