#pragma once

// What the main dialog does with a key before the dialog manager sees it.
enum class KeyAction {
    Pass,                   // the normal handling
    Swallow,                // dropped
    FocusReadStartThenPass, // focus to the read panel's Start button, then the normal handling
};

// Virtual-key codes and the one keyboard message the filter looks at, as the platform
// numbers them.
constexpr unsigned kKeyDownMessage = 0x0100;  // WM_KEYDOWN
constexpr unsigned kVirtualKeyReturn = 0x0D;
constexpr unsigned kVirtualKeyEscape = 0x1B;

// Escape never closes the main dialog; Return does nothing in the read-only path edits
// and moves from the description edit to Start. `focusId` is the control ID of the
// focused window (0 when the focus is elsewhere).
KeyAction FilterMainDialogKey(unsigned message, unsigned virtualKey, int focusId);
