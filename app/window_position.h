#pragma once
#include <stdint.h>

#include <optional>

class RegistryKey;

// The top-left corner of the main window's normal (restored) rectangle, in screen
// coordinates; negative on a monitor left of or above the primary one.
struct WindowCorner {
    int32_t left = 0;
    int32_t top = 0;
};

// The corner stored under "Init", or nothing when either coordinate is 0 (or missing):
// then the window stays where the system puts it.
std::optional<WindowCorner> ReadWindowPosition(RegistryKey& key);

// Stores the corner under "Init" for the next start.
void WriteWindowPosition(RegistryKey& key, const WindowCorner& corner);
