// Stands in for a browser or mail program in the hyperlink tests: the shell starts it
// with the target, and it appends its arguments, one a line, to the file named by
// VORLIX_LINK_RECORD. The lines go to a scratch file first and are then moved into
// place, so a test polling for the record never reads half of it.
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const char* record = getenv("VORLIX_LINK_RECORD");
    if (record == nullptr || record[0] == '\0') return 1;
    std::string lines;
    for (int i = 1; i < __argc; ++i) lines += std::string(__argv[i]) + "\n";
    const std::string scratch = std::string(record) + ".part";
    FILE* file = fopen(scratch.c_str(), "wb");
    if (file == nullptr) return 2;
    fwrite(lines.data(), 1, lines.size(), file);
    fclose(file);
    return MoveFileA(scratch.c_str(), record) ? 0 : 3;
}
