#include "app/hand_over_win32.h"

#include "app/command_line.h"

std::optional<std::string> HandedOverImagePath(const COPYDATASTRUCT* block) {
    if (block == NULL) return std::nullopt;
    return HandedOverImagePath(block->lpData, block->cbData);
}

std::optional<std::string> FullHandOverText(const std::vector<std::string>& words) {
    const std::string text = HandOverText(words);
    if (text.empty()) return text;
    char full[MAX_PATH];
    const DWORD length = GetFullPathNameA(text.c_str(), sizeof full, full, NULL);
    // A longer path would be refused by the receiver; a shorter cut would name another file.
    if (length == 0 || length >= sizeof full) return std::nullopt;
    return std::string(full, length);
}
