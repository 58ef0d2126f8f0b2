#pragma once
#include <stddef.h>
#include <stdint.h>

// A digest as the tools that print one show it: two lowercase hex digits a byte, then a
// zero; `text` holds 2 * size + 1 characters.
inline void LowerHex(const uint8_t* bytes, size_t size, char* text) {
    static const char kDigits[] = "0123456789abcdef";
    for (size_t i = 0; i < size; ++i) {
        text[2 * i] = kDigits[bytes[i] >> 4];
        text[2 * i + 1] = kDigits[bytes[i] & 0x0F];
    }
    text[2 * size] = '\0';
}
