#pragma once
#include <stddef.h>
#include <stdio.h>

#include "engine/files/target_files.h"

// Writes `attempt` (0, 1, ...) of the names for a file that is made before it takes the
// place of `target` into `name`: in the target's own folder, so that the final rename
// stays on one volume, and recognisably the target's: "disk.imz.tmp", "disk.imz.1.tmp",
// ... Where those would not fit, "~vorlix.tmp", "~vorlix1.tmp", ... in that folder.
// False when not even that fits in `size` bytes.
bool TemporaryName(const char* target, unsigned attempt, char* name, size_t size);

// A file made under a temporary name beside its target, which stays as it was until the
// file is committed and then is replaced by it in one step. A target that is a symbolic
// link stays one: the file at its end is the one replaced, and the new file is made
// beside that. A file that is never committed is removed when the object goes, on every
// path.
class TemporaryTarget {
public:
    // Names tried before the folder counts as full of them.
    static constexpr unsigned kAttempts = 100;

    explicit TemporaryTarget(TargetFiles& files) : files_(files) {}
    ~TemporaryTarget() { Discard(); }
    TemporaryTarget(const TemporaryTarget&) = delete;
    TemporaryTarget& operator=(const TemporaryTarget&) = delete;

    // Creates an empty file of the first free name for `target` and opens it for binary
    // writing: 0, or -1 when none could be made (nothing is left behind then).
    int Create(const char* target);

    // The open file, from Create until Close, Commit or Discard; null otherwise. Writers
    // write here: the name may have been given to another file since it was made.
    FILE* Stream() const { return stream_; }

    // The file's name. A stream that a caller opens by this name must be closed again
    // before Close, Commit and Discard.
    const char* Path() const { return path_; }

    // Closes the stream, once the file has the target's permissions and all its bytes are
    // on stable storage: 0, or -1 when that failed or the name is no longer the file's
    // (the file is then removed). Called before Commit, a failure here is a failed write.
    int Close();

    // Closes the file (see Close), then puts it in the target's place: 0, or -1 when the
    // file is not whole or the target could not be replaced; the file is then removed,
    // unless the old target could not be put back (Replacement::Stranded).
    int Commit();

    // Closes and removes the file, unless it was committed: 0, or -1 when it stays.
    int Discard();

private:
    TargetFiles& files_;
    char target_[kJobPathSize] = {};
    char path_[kJobPathSize] = {};
    FILE* stream_ = nullptr;
    bool held_ = false;
};
