#include "app/hand_over_win32.h"

std::optional<std::string> HandedOverImagePath(const COPYDATASTRUCT* block) {
    if (block == NULL) return std::nullopt;
    return HandedOverImagePath(block->lpData, block->cbData);
}
