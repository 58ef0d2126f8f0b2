#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "app/hand_over.h"

// The image path in a WM_COPYDATA message's block (its lParam), read as foreign input;
// nothing for a missing block or one that is no image name. wParam and dwData are the
// sender's business and are not looked at.
std::optional<std::string> HandedOverImagePath(const COPYDATASTRUCT* block);

// What a later start with the command line `words` sends the running instance: the text
// HandOverText chooses, made a full path against this process's current folder, because
// the running instance's own folder is wherever its last file dialog left it. "" when
// there is no text (the instance is only brought forward); nothing when the text cannot
// be made a full path that fits a Windows path.
std::optional<std::string> FullHandOverText(const std::vector<std::string>& words);
