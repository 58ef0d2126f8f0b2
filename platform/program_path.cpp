#include "platform/program_path.h"

namespace {

bool IsAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

}  // namespace

bool IsFullPath(const char* path) {
    if (path == nullptr) {
        return false;
    }
    if (IsAsciiLetter(path[0]) && path[1] == ':' && IsSeparator(path[2])) {
        return true;
    }
    return IsSeparator(path[0]) && IsSeparator(path[1]) && path[2] != '\0';
}

std::string ChooseProgramPath(const char* wordZero, const std::string& moduleFileName) {
    if (IsFullPath(wordZero) || moduleFileName.empty()) {
        return wordZero != nullptr ? wordZero : "";
    }
    return moduleFileName;
}
