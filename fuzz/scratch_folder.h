#pragma once
#include <stddef.h>
#include <stdint.h>

#include <string>

// Most readers take a path, so each fuzz target writes its input to a file in a folder of
// its own under $TMPDIR (made once per process, removed with everything in it at exit).
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // The path of `name` in the folder, holding exactly `size` bytes of `data`. Aborts
    // when the file cannot be written: a fuzz run over no input would prove nothing.
    std::string Write(const char* name, const uint8_t* data, size_t size);

    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// The process's folder.
ScratchFolder& Scratch();
