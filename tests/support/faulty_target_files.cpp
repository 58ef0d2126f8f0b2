#include "tests/support/faulty_target_files.h"

NewFile FaultyTargetFiles::CreateNew(const char* path) {
    created.push_back(path);
    if (everyNameTaken) return NewFile::Taken;
    const NewFile result = system_.CreateNew(path);
    if (result == NewFile::Created && onCreated) onCreated(path);
    return result;
}

bool FaultyTargetFiles::Replace(const char* source, const char* target) {
    replaced.push_back(source);
    if (onReplace) onReplace();
    return !failReplace && system_.Replace(source, target);
}

bool FaultyTargetFiles::Remove(const char* path) {
    removed.push_back(path);
    return !failRemove && system_.Remove(path);
}
