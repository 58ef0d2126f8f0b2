#pragma once
#include <stdio.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/files/target_files.h"

// The system's file operations, with a record of the calls and faults of the test's
// choosing in between: a target that will not be replaced (read only, in use), an old
// target that was moved aside and could not be put back, a file that will not go, names
// that all seem taken.
class FaultyTargetFiles final : public SystemTargetFilesLayer {
public:
    bool failReplace = false;
    bool strandReplace = false;  // Replace moves nothing and answers Stranded
    bool failRemove = false;
    bool everyNameTaken = false;
    // Called as Replace begins, before the fault or the real replacement.
    std::function<void()> onReplace;
    // Called with the name of each file made, right after it was made.
    std::function<void(const std::string&)> onCreated;

    std::vector<std::string> created;   // every name asked for, taken or not
    std::vector<std::string> replaced;  // sources, in order
    std::vector<std::string> removed;

    NewFile CreateNew(const char* path, FILE** stream) override;
    Replacement Replace(const char* source, const char* target) override;
    bool Remove(const char* path) override;
};
