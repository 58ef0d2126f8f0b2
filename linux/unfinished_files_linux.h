#pragma once
#include <stdio.h>

#include "engine/files/target_files.h"

// The system's file operations, keeping a record of the files that a job has made under
// temporary names and not yet put in place or removed. A second interrupt ends the program
// at once; its handler removes them first (RemoveUnfinishedFiles), so that the program
// leaves the folder as a cancelled job does. A file that came to hold something else
// (an earlier map set aside under such a name) leaves the record: it is never removed.
class UnfinishedFiles final : public SystemTargetFilesLayer {
public:
    NewFile CreateNew(const char* path, FILE** stream) override;
    Replacement Replace(const char* source, const char* target) override;
    bool Remove(const char* path) override;
};

// Removes every file on the record. Async-signal-safe: for a signal handler.
void RemoveUnfinishedFiles();
