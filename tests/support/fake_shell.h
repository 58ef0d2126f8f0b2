#pragma once
#include <string>
#include <utility>
#include <vector>

#include "platform/shell_environment.h"

// A shell with a chosen program path that counts the association-changed notices.
class FakeShell : public ShellEnvironment {
public:
    explicit FakeShell(std::string programPath = "C:\\Program Files\\Vorlix\\Vorlix.exe")
        : programPath_(std::move(programPath)) {}

    const char* ProgramPath() const override { return programPath_.c_str(); }
    void AssociationsChanged() override { ++notices; }

    int notices = 0;

private:
    std::string programPath_;
};
