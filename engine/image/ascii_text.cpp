#include "engine/image/ascii_text.h"

#include <stdlib.h>

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

long WholeNumberOf(const char* word, long most) {
    if (word[0] < '0' || word[0] > '9') return -1;
    char* end = nullptr;
    const long number = strtol(word, &end, 10);
    return *end == '\0' && number <= most ? number : -1;
}
