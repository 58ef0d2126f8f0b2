#pragma once
#include <string>

#include "app/shell_environment.h"

// The running program as the Windows shell sees it.
class SystemShell : public ShellEnvironment {
public:
    SystemShell();

    const char* ProgramPath() const override { return programPath_.c_str(); }
    void AssociationsChanged() override;

private:
    std::string programPath_;
};
