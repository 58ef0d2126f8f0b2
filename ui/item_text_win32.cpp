#include "ui/item_text_win32.h"

std::string WindowText(HWND window) {
    int length = GetWindowTextLengthA(window);
    if (length <= 0) return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    int copied = GetWindowTextA(window, &text[0], length + 1);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

std::string ItemText(HWND dialog, int id) {
    HWND item = GetDlgItem(dialog, id);
    return item != NULL ? WindowText(item) : std::string();
}

bool SetItemText(HWND dialog, int id, const std::string& text) {
    return SetDlgItemTextA(dialog, id, text.c_str()) != 0;
}
