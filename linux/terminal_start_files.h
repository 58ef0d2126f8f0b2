#pragma once
#include <string>

#include "engine/job/start_host.h"

// The start checks' file queries as the terminal program answers them: by access(2) as
// the user runs it, and by device and inode, so another spelling or a link of one file is
// the same file.
class TerminalStartFiles final : public StartFiles {
public:
    bool FileOpensForReading(const std::string& path) override;
    bool FileExists(const std::string& path) override;
    bool FileIsReadOnly(const std::string& path) override;
    bool SameFile(const std::string& one, const std::string& other) override;
};
