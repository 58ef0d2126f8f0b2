#pragma once
#include <stddef.h>
#include <stdio.h>

// The longest path a job names, with its zero: MAX_PATH.
constexpr int kJobPathSize = 260;

// Outcomes of TargetFiles::CreateNew.
enum class NewFile {
    Created,
    Taken,   // something of that name is there already
    Failed,  // nothing is there, yet nothing could be made (no such folder, no right to)
};

// Outcomes of TargetFiles::Replace.
enum class Replacement {
    Done,
    Refused,   // the target cannot be replaced (read only, in use): both are as they were
    Stranded,  // the old target was moved aside and could not be put back: the new file
               // is kept, since it may be all that still holds an image under a known name
};

// The few file operations that let an image be made under a name of its own and only
// then take its target's place, so that an existing target survives a read that fails,
// and a power cut leaves the old image or the whole new one under the target's name.
// The system's (SystemTargetFiles) serve the program; tests put faults in between.
class TargetFiles {
public:
    // Creates `path` empty, only where nothing of that name exists, and opens it for
    // binary writing in the same step: on Created, *stream is the new file's stream, the
    // only way in (a name can be swapped for something else once the file is made);
    // otherwise null.
    virtual NewFile CreateNew(const char* path, FILE** stream) = 0;

    // Writes into `file` (of `size` bytes) the name of the file that a write to `target`
    // reaches: where `target` is a symbolic link, the end of its chain of links, so that
    // the link stays and the file it points to is replaced; else `target` itself. False
    // when that does not fit or the links go round in circles.
    virtual bool ResolveLinks(const char* target, char* file, size_t size) = 0;

    // Closes `stream`, the new file `path` that is to take the place of `target`, once it
    // has the permissions of `target` (where that exists) and its bytes are on stable
    // storage. False when any of it failed or `path` no longer names that file; the
    // stream is closed either way.
    virtual bool Close(FILE* stream, const char* path, const char* target) = 0;

    // Puts the closed file `source` in the place of `target`, which need not exist, on
    // the same volume, and makes the change itself durable where the system allows.
    virtual Replacement Replace(const char* source, const char* target) = 0;

    // Removes `path`; true also when there was nothing to remove, false when it stays.
    virtual bool Remove(const char* path) = 0;

protected:
    ~TargetFiles() = default;
};

// Writes out what `stream` holds in its buffer and has the system put the file's bytes
// on stable storage (fsync, FlushFileBuffers), so that a record written beside an image
// survives a power cut as the image does. False when either failed.
bool FlushToStableStorage(FILE* stream);

// The running system's file operations. Windows of the NT family replace a file in one
// step; the 9x family, which has no such call, renames the old target aside, renames the
// new file into its place and only then removes the old one (ReplaceByRenames). Elsewhere
// a rename replaces in one step.
class SystemTargetFiles final : public TargetFiles {
public:
    explicit SystemTargetFiles(bool ntFamily) : ntFamily_(ntFamily) {}

    NewFile CreateNew(const char* path, FILE** stream) override;
    bool ResolveLinks(const char* target, char* file, size_t size) override;
    bool Close(FILE* stream, const char* path, const char* target) override;
    Replacement Replace(const char* source, const char* target) override;
    bool Remove(const char* path) override;

private:
    bool ntFamily_;
};

// The system's operations, as a base for a layer that records or changes only some of them.
class SystemTargetFilesLayer : public TargetFiles {
public:
    NewFile CreateNew(const char* path, FILE** stream) override {
        return system_.CreateNew(path, stream);
    }
    bool ResolveLinks(const char* target, char* file, size_t size) override {
        return system_.ResolveLinks(target, file, size);
    }
    bool Close(FILE* stream, const char* path, const char* target) override {
        return system_.Close(stream, path, target);
    }
    Replacement Replace(const char* source, const char* target) override {
        return system_.Replace(source, target);
    }
    bool Remove(const char* path) override { return system_.Remove(path); }

protected:
    ~SystemTargetFilesLayer() = default;

private:
    SystemTargetFiles system_{true};
};
