#include "engine/image/ascii_text.h"

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoringCase(const char* a, const char* b) {
    if (a == nullptr || b == nullptr) {
        return a == b;
    }
    while (*a != '\0' && AsciiLower(*a) == AsciiLower(*b)) {
        ++a;
        ++b;
    }
    return AsciiLower(*a) == AsciiLower(*b);
}
