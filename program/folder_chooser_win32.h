#pragma once
#include <windows.h>

#include <string>

// The shell's folder chooser, as every Windows from 95 on has it. True with the chosen
// folder's path; false when the user cancelled or chose no file-system folder.
bool ChooseFolder(HWND owner, const char* prompt, std::string& path);
