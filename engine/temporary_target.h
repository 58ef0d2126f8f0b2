#pragma once
#include <stddef.h>

#include "engine/job_request.h"
#include "engine/target_files.h"

// Writes `attempt` (0, 1, ...) of the names for a file that is made before it takes the
// place of `target` into `name`: in the target's own folder, so that the final rename
// stays on one volume, and recognisably the target's: "disk.imz.tmp", "disk.imz.1.tmp",
// ... Where those would not fit, "~vorlix.tmp", "~vorlix1.tmp", ... in that folder.
// False when not even that fits in `size` bytes.
bool TemporaryName(const char* target, unsigned attempt, char* name, size_t size);

// A file made under a temporary name beside its target, which stays as it was until the
// file is committed and then is replaced by it in one step. A file that is never
// committed is removed when the object goes, on every path.
class TemporaryTarget {
public:
    // Names tried before the folder counts as full of them.
    static constexpr unsigned kAttempts = 100;

    explicit TemporaryTarget(TargetFiles& files) : files_(files) {}
    ~TemporaryTarget() { Discard(); }
    TemporaryTarget(const TemporaryTarget&) = delete;
    TemporaryTarget& operator=(const TemporaryTarget&) = delete;

    // Creates an empty file of the first free name for `target`: 0, or -1 when none
    // could be made (nothing is left behind then).
    int Create(const char* target);

    // The file to write, once created; it must be closed before Commit and Discard.
    const char* Path() const { return path_; }

    // Puts the file in the target's place: 0, or -1 when the target could not be replaced;
    // the file is then removed.
    int Commit();

    // Removes the file, unless it was committed: 0, or -1 when it stays.
    int Discard();

private:
    TargetFiles& files_;
    char target_[kJobPathSize] = {};
    char path_[kJobPathSize] = {};
    bool held_ = false;
};
