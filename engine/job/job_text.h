#pragma once
#include <stddef.h>

// Copies `text` (nullptr: none) into `out` of `size` bytes, cut to fit, always
// terminated. The jobs keep their own copies of the request; no library string calls
// are needed for that in the restorer stub.
inline void CopyJobText(char* out, size_t size, const char* text) {
    size_t length = 0;
    if (text != nullptr) {
        while (length + 1 < size && text[length] != '\0') {
            out[length] = text[length];
            ++length;
        }
    }
    out[length] = '\0';
}

template <size_t N>
void CopyJobText(char (&out)[N], const char* text) {
    CopyJobText(out, N, text);
}
