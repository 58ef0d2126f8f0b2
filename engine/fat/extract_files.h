#pragma once
#include <stddef.h>
#include <stdint.h>

#include <string>

#include "engine/fat/fat_time.h"

// What extracting needs of the host's file system, so the core decides every name and
// the platform only makes files: `_posix` here, the Windows program its own.
enum class ExtractCreate {
    Created,
    Exists,  // a file of that name was there, and replacing was not asked for
    Failed,
};

class ExtractFiles {
public:
    // Makes the folder the files go to, and the folders it is in, unless they are there
    // (a link to a folder serves): 0, or -1.
    virtual int MakeTargetFolder(const std::string& path) = 0;
    // Makes the folder `path` inside the target unless it is there: 0, or -1, also when
    // something else of that name is there, a link included, so no write leaves the target.
    virtual int MakeFolder(const std::string& path) = 0;
    // Writes `size` bytes as the new file `path`; a file there is replaced only when
    // `replace` says so, and a link there is replaced itself, never followed.
    virtual ExtractCreate WriteFile(const std::string& path, const uint8_t* data, size_t size,
                                    bool replace) = 0;
    // Sets the modification time of the file or folder (local time, as FAT keeps it).
    virtual int SetModified(const std::string& path, const FatTimestamp& stamp) = 0;

protected:
    ~ExtractFiles() = default;
};

// The host's own file system.
class SystemExtractFiles final : public ExtractFiles {
public:
    int MakeTargetFolder(const std::string& path) override;
    int MakeFolder(const std::string& path) override;
    ExtractCreate WriteFile(const std::string& path, const uint8_t* data, size_t size,
                            bool replace) override;
    int SetModified(const std::string& path, const FatTimestamp& stamp) override;
};
