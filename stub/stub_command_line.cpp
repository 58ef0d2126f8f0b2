#include "stub/stub_command_line.h"

namespace {

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsDriveBSwitch(const char* word) {
    return word != nullptr && word[0] == '/' && Lower(word[1]) == 'b' && word[2] == '\0';
}

}  // namespace

const char* StubDriveText(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (IsDriveBSwitch(argv[i])) {
            return "B:";
        }
    }
    return "A:";
}

bool IsOnFloppyDrive(const char* imagePath) {
    if (imagePath == nullptr || imagePath[0] == '\0' || imagePath[1] != ':') {
        return false;
    }
    const char drive = Lower(imagePath[0]);
    return drive == 'a' || drive == 'b';
}
