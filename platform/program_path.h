#pragma once
#include <string>

// The path that goes into the shell's commands for our file types. Word 0 of our command
// line is the path as we were started, which the shell gives in full; started by a
// bare or relative name from a prompt, it would make commands that only work from that
// folder, so then the module's own file name is taken instead.
std::string ChooseProgramPath(const char* wordZero, const std::string& moduleFileName);

// "X:\..." or "\\server\...": a path that names the same file from any folder.
bool IsFullPath(const char* path);
