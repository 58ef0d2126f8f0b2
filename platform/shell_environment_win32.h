#pragma once
#include <string>

#include "platform/shell_environment.h"

// The running program as the Windows shell sees it.
class SystemShell : public ShellEnvironment {
public:
    // `wordZero` is word 0 of the program's command line, as it was started (or null).
    explicit SystemShell(const char* wordZero);

    const char* ProgramPath() const override { return programPath_.c_str(); }
    void AssociationsChanged() override;

private:
    std::string programPath_;
};
