#include "engine/files/replace_by_renames.h"

#include "engine/files/temporary_target.h"

namespace {

// The first of the target's temporary names that nothing has.
bool FreeNameBeside(RenameCalls& calls, const char* target, char* name, size_t size) {
    for (unsigned attempt = 0; attempt < TemporaryTarget::kAttempts; ++attempt) {
        if (!TemporaryName(target, attempt, name, size)) {
            return false;
        }
        if (!calls.Exists(name)) {
            return true;
        }
    }
    return false;
}

}  // namespace

Replacement ReplaceByRenames(RenameCalls& calls, const char* source, const char* target) {
    if (!calls.Exists(target)) {
        return calls.Rename(source, target) ? Replacement::Done : Replacement::Refused;
    }
    char aside[kJobPathSize];
    // A target in use or read only will not move either, and nothing has changed.
    if (!FreeNameBeside(calls, target, aside, sizeof aside) || !calls.Rename(target, aside)) {
        return Replacement::Refused;
    }
    if (!calls.Rename(source, target)) {
        return calls.Rename(aside, target) ? Replacement::Refused : Replacement::Stranded;
    }
    // The new image has its name; an old one that will not go is only a file too many.
    calls.Remove(aside);
    return Replacement::Done;
}
