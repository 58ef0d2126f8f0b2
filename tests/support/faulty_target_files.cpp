#include "tests/support/faulty_target_files.h"

NewFile FaultyTargetFiles::CreateNew(const char* path, FILE** stream) {
    created.push_back(path);
    if (everyNameTaken) {
        *stream = nullptr;
        return NewFile::Taken;
    }
    const NewFile result = system_.CreateNew(path, stream);
    if (result == NewFile::Created && onCreated) onCreated(path);
    return result;
}

bool FaultyTargetFiles::ResolveLinks(const char* target, char* file, size_t size) {
    return system_.ResolveLinks(target, file, size);
}

bool FaultyTargetFiles::Close(FILE* stream, const char* path, const char* target) {
    return system_.Close(stream, path, target);
}

Replacement FaultyTargetFiles::Replace(const char* source, const char* target) {
    replaced.push_back(source);
    if (onReplace) onReplace();
    if (strandReplace) return Replacement::Stranded;
    return failReplace ? Replacement::Refused : system_.Replace(source, target);
}

bool FaultyTargetFiles::Remove(const char* path) {
    removed.push_back(path);
    return !failRemove && system_.Remove(path);
}
