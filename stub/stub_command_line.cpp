#include "stub/stub_command_line.h"

#include "engine/image/ascii_text.h"

const char* StubDriveText(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (EqualsIgnoringCase(argv[i], "/b")) {
            return "B:";
        }
    }
    return "A:";
}
