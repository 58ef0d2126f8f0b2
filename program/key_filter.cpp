#include "program/key_filter.h"

#include "resources/main_dialog_ids.h"

KeyAction FilterMainDialogKey(unsigned message, unsigned virtualKey, int focusId) {
    if (message != kKeyDownMessage) return KeyAction::Pass;
    if (virtualKey == kVirtualKeyEscape) return KeyAction::Swallow;
    if (virtualKey != kVirtualKeyReturn) return KeyAction::Pass;
    switch (focusId) {
    case IDC_READ_PATH:
    case IDC_WRITE_PATH:
    case IDC_WRITE_DESCRIPTION:
        return KeyAction::Swallow;
    case IDC_READ_DESCRIPTION:
        return KeyAction::FocusReadStartThenPass;
    default:
        return KeyAction::Pass;
    }
}
