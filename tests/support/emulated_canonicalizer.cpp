#include "tests/support/emulated_canonicalizer.h"

namespace {

// Code page 1252 bytes whose characters lie outside Latin-1: Wine escapes through
// Unicode, only characters up to U+00FF, so these stay bare.
bool OutsideLatin1(unsigned char c) {
    if (c < 0x80 || c > 0x9F) return false;
    return c != 0x81 && c != 0x8D && c != 0x8F && c != 0x90 && c != 0x9D;
}

bool Unsafe(unsigned char c) {
    if (c <= 0x20 || c == 0x7F) return true;
    if (c >= 0x80) return !OutsideLatin1(c);
    switch (c) {
    case '"': case '%': case '&': case '<': case '>': case '[': case '\\': case ']':
    case '^': case '`': case '{': case '|': case '}':
        return true;
    default:
        return false;
    }
}

}  // namespace

bool EmulatedCanonicalizer::Canonicalize(const std::string& text, std::string& canonical) const {
    std::string url;
    for (char c : text) {
        if (c != '\t') url += c;
    }
    while (!url.empty() && static_cast<unsigned char>(url.back()) <= 0x20) url.pop_back();

    canonical.clear();
    if (url.size() >= 2 && url[1] == ':') {
        canonical = "file://";
        for (char& c : url) {
            if (c == '\\') c = '/';
        }
    }
    static const char kHex[] = "0123456789ABCDEF";
    bool escaping = true;
    for (char c : url) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (c == '?' || c == '#') escaping = false;
        if (escaping && Unsafe(byte)) {
            canonical += '%';
            canonical += kHex[byte >> 4];
            canonical += kHex[byte & 0x0F];
        } else {
            canonical += c;
        }
    }
    return true;
}
