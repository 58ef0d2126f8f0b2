#include "tests/support/faulty_target_files.h"

NewFile FaultyTargetFiles::CreateNew(const char* path, FILE** stream) {
    created.push_back(path);
    if (everyNameTaken) {
        *stream = nullptr;
        return NewFile::Taken;
    }
    const NewFile result = SystemTargetFilesLayer::CreateNew(path, stream);
    if (result == NewFile::Created && onCreated) onCreated(path);
    return result;
}

Replacement FaultyTargetFiles::Replace(const char* source, const char* target) {
    replaced.push_back(source);
    if (onReplace) onReplace();
    if (strandReplace) return Replacement::Stranded;
    return failReplace ? Replacement::Refused : SystemTargetFilesLayer::Replace(source, target);
}

bool FaultyTargetFiles::Remove(const char* path) {
    removed.push_back(path);
    return !failRemove && SystemTargetFilesLayer::Remove(path);
}
