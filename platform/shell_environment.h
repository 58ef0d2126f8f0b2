#pragma once

// What the file-type registration needs from the shell it runs in: the path the shell's
// commands should start, and a way to tell the shell that associations changed.
class ShellEnvironment {
public:
    // The program file as the shell's commands name it.
    virtual const char* ProgramPath() const = 0;

    // Sent once after a batch of association changes, not per key.
    virtual void AssociationsChanged() = 0;

protected:
    ~ShellEnvironment() = default;
};
