#pragma once
#include <windows.h>

#include <string>

// Control text as std::string, for the main program's dialogs (the restorer stub keeps
// to char buffers and CWindow's calls).
std::string WindowText(HWND window);
std::string ItemText(HWND dialog, int id);
bool SetItemText(HWND dialog, int id, const std::string& text);
