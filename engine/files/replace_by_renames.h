#pragma once
#include "engine/files/target_files.h"

// The calls a replacement by renames needs, on a system whose rename never replaces an
// existing file (the Windows 9x family).
class RenameCalls {
public:
    // True when something has the name `path`, or when that cannot be told.
    virtual bool Exists(const char* path) = 0;
    // Gives `from` the name `to`; fails where `to` exists.
    virtual bool Rename(const char* from, const char* to) = 0;
    virtual bool Remove(const char* path) = 0;

protected:
    ~RenameCalls() = default;
};

// Puts `source` in the place of `target` so that at no moment neither holds an image: an
// existing target is renamed aside to a free name of its own (TemporaryName), `source`
// takes its name, and only then the old one goes. When `source` cannot take the name the
// old target is put back: Refused, both as they were; when even that fails, Stranded.
Replacement ReplaceByRenames(RenameCalls& calls, const char* source, const char* target);
