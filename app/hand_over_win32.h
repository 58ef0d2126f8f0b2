#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "app/hand_over.h"

// The image path in a WM_COPYDATA message's block (its lParam), read as foreign input;
// nothing for a missing block or one that is no image name. wParam and dwData are the
// sender's business and are not looked at.
std::optional<std::string> HandedOverImagePath(const COPYDATASTRUCT* block);
