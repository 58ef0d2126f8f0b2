#include "online/form_encoding.h"

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

void AppendEscaped(std::string& out, unsigned char c) {
    out += '%';
    out += kHexDigits[c >> 4];
    out += kHexDigits[c & 0x0F];
}

// Escapes what is still bare in `text`. With `keepEscapes`, "%XX" sequences are escapes
// made already (the canonicalisation's) and stay as they are.
std::string EscapeBare(const std::string& text, bool keepEscapes) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (keepEscapes && c == '%') {
            out.append(text, i, 3);
            i += 2;
        } else if (NeedsFormEscape(c)) {
            AppendEscaped(out, c);
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

}  // namespace

bool NeedsFormEscape(unsigned char c) {
    if (c <= 0x20 || c >= 0x7F) return true;
    switch (c) {
    case '"': case '#': case '%': case '&': case '+': case '<': case '=': case '>':
    case '[': case '\\': case ']': case '^': case '`': case '{': case '|': case '}':
        return true;
    default:
        return false;
    }
}

bool DecodePercentEscapes(const std::string& encoded, std::string& decoded) {
    decoded.clear();
    for (size_t i = 0; i < encoded.size(); ++i) {
        if (encoded[i] != '%') {
            decoded += encoded[i];
            continue;
        }
        if (i + 2 >= encoded.size()) return false;
        const int high = HexValue(encoded[i + 1]);
        const int low = HexValue(encoded[i + 2]);
        if (high < 0 || low < 0) return false;
        decoded += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return true;
}

std::string EncodeFormValue(const UrlCanonicalizer& canonicalizer, const std::string& text) {
    std::string canonical;
    std::string decoded;
    if (canonicalizer.Canonicalize(text, canonical) && DecodePercentEscapes(canonical, decoded) &&
        decoded == text) {
        return EscapeBare(canonical, true);
    }
    return EscapeBare(text, false);
}

std::string EncodeFormComment(const UrlCanonicalizer& canonicalizer, const std::string& comment) {
    std::string encoded;
    std::string::size_type start = 0;
    for (;;) {
        const std::string::size_type end = comment.find("\r\n", start);
        encoded += EncodeFormValue(canonicalizer, comment.substr(start, end - start));
        if (end == std::string::npos) break;
        encoded += "\r\n";
        start = end + 2;
    }
    return encoded;
}
