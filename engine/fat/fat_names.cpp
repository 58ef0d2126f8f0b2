#include "engine/fat/fat_names.h"

#include <stdio.h>
#include <string.h>

namespace {

// Code page 437, the PC's own, from 0x80 up: what a short name's high bytes mean when
// nothing says otherwise.
const uint16_t kCodePage437High[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7,
    0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192,
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA,
    0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556,
    0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4,
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229,
    0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248,
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,
};

constexpr uint32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | code >> 6);
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | code >> 12);
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | code >> 18);
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// The code point at `text[*at]`, moving past it; U+FFFD for a byte that begins none.
uint32_t NextCodePoint(const std::string& text, size_t* at) {
    const unsigned char lead = static_cast<unsigned char>(text[*at]);
    ++*at;
    if (lead < 0x80) return lead;
    int more = lead >= 0xF0 && lead < 0xF5 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 && lead < 0xE0 ? 1 : -1;
    if (more < 0 || lead >= 0xF5) return kReplacement;
    uint32_t code = lead & (0x3F >> more);
    for (int i = 0; i < more; ++i) {
        if (*at >= text.size() || (static_cast<unsigned char>(text[*at]) & 0xC0) != 0x80) return kReplacement;
        code = code << 6 | (static_cast<unsigned char>(text[*at]) & 0x3F);
        ++*at;
    }
    const uint32_t least[] = {0, 0x80, 0x800, 0x10000};
    if (code < least[more] || code > 0x10FFFF || (code >= 0xD800 && code < 0xE000)) return kReplacement;
    return code;
}

bool ShortNameCharacter(unsigned char c) {
    if (c >= 0x80) return true;
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
    return strchr("!#$%&'()-@^_`{}~", c) != nullptr && c != '\0';
}

bool ReservedOnWindows(const std::string& name) {
    std::string stem = name.substr(0, name.find('.'));
    while (!stem.empty() && stem.back() == ' ') stem.pop_back();
    for (char& c : stem) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    static const char* const kReserved[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    for (const char* reserved : kReserved) {
        if (stem == reserved) return true;
    }
    return stem.size() == 4 && (stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0) &&
           stem[3] >= '0' && stem[3] <= '9';
}

// The characters of `part` an alias keeps: upper case, blanks and dots gone, anything a
// short name cannot hold as "_".
std::string AliasCharacters(const std::string& part, size_t limit) {
    std::string out;
    size_t at = 0;
    while (at < part.size() && out.size() < limit) {
        const uint32_t code = NextCodePoint(part, &at);
        if (code == ' ' || code == '.') continue;
        char c = code < 0x80 ? static_cast<char>(code) : '_';
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (!ShortNameCharacter(static_cast<unsigned char>(c)) || code >= 0x80) c = '_';
        out += c;
    }
    return out;
}

void FillShortName(const std::string& base, const std::string& extension, uint8_t (&name)[11]) {
    memset(name, ' ', sizeof name);
    memcpy(name, base.data(), base.size() < 8 ? base.size() : 8);
    memcpy(name + 8, extension.data(), extension.size() < 3 ? extension.size() : 3);
}

}  // namespace

std::string ShortNameText(const uint8_t (&name)[11]) {
    std::string out;
    auto append = [&out](uint8_t byte) {
        AppendUtf8(out, byte < 0x80 ? byte : kCodePage437High[byte - 0x80]);
    };
    int baseEnd = 8;
    while (baseEnd > 0 && name[baseEnd - 1] == ' ') --baseEnd;
    int extensionEnd = 11;
    while (extensionEnd > 8 && name[extensionEnd - 1] == ' ') --extensionEnd;
    for (int i = 0; i < baseEnd; ++i) append(i == 0 && name[0] == 0x05 ? 0xE5 : name[i]);
    if (extensionEnd > 8) out += '.';
    for (int i = 8; i < extensionEnd; ++i) append(name[i]);
    return out;
}

uint8_t LongNameChecksum(const uint8_t (&name)[11]) {
    uint8_t sum = 0;
    for (uint8_t byte : name) sum = static_cast<uint8_t>(((sum & 1) << 7) + (sum >> 1) + byte);
    return sum;
}

std::string Utf8OfUtf16(const std::vector<uint16_t>& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t code = text[i];
        if (code >= 0xD800 && code < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000) {
            code = 0x10000 + ((code - 0xD800) << 10) + (text[++i] - 0xDC00);
        } else if (code >= 0xD800 && code < 0xE000) {
            code = kReplacement;
        }
        AppendUtf8(out, code);
    }
    return out;
}

std::vector<uint16_t> Utf16OfUtf8(const std::string& text) {
    std::vector<uint16_t> out;
    for (size_t at = 0; at < text.size();) {
        const uint32_t code = NextCodePoint(text, &at);
        if (code >= 0x10000) {
            out.push_back(static_cast<uint16_t>(0xD800 + ((code - 0x10000) >> 10)));
            out.push_back(static_cast<uint16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
        } else {
            out.push_back(static_cast<uint16_t>(code));
        }
    }
    return out;
}

bool FitsShortName(const std::string& name, uint8_t (&shortName)[11]) {
    // DOS opens its device for "AUX.C" or "CON": such a file is reached only by an alias
    // ("AUX~1.C"), as mcopy makes it.
    if (name.empty() || name == "." || name == ".." || ReservedOnWindows(name)) return false;
    const size_t dot = name.find('.');
    const std::string base = name.substr(0, dot);
    const std::string extension = dot == std::string::npos ? "" : name.substr(dot + 1);
    if (base.empty() || base.size() > 8 || extension.size() > 3) return false;
    if (dot != std::string::npos && extension.empty()) return false;
    for (char c : base + extension) {
        if (!ShortNameCharacter(static_cast<unsigned char>(c)) || static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    FillShortName(base, extension, shortName);
    return true;
}

void ShortAliasOf(const std::string& longName, const std::vector<std::string>& taken,
                  uint8_t (&alias)[11]) {
    const size_t dot = longName.rfind('.');
    const bool hasExtension = dot != std::string::npos && dot != 0;
    std::string base = AliasCharacters(hasExtension ? longName.substr(0, dot) : longName, 8);
    const std::string extension = hasExtension ? AliasCharacters(longName.substr(dot + 1), 3) : "";
    if (base.empty()) base = "_";
    for (unsigned number = 1; number < 1000000; ++number) {
        char tail[12];
        snprintf(tail, sizeof tail, "~%u", number);  // NOLINT(cert-err33-c): fits
        const size_t keep = 8 - strlen(tail) < base.size() ? 8 - strlen(tail) : base.size();
        FillShortName(base.substr(0, keep) + tail, extension, alias);
        const std::string candidate(reinterpret_cast<const char*>(alias), sizeof alias);
        bool used = false;
        for (const std::string& name : taken) used = used || name == candidate;
        if (!used) return;
    }
}

bool IsValidLongName(const std::string& name) {
    if (name.empty() || name == "." || name == ".." || Utf16OfUtf8(name).size() > 255) return false;
    for (unsigned char c : name) {
        if (c < 0x20 || c == 0x7F || strchr("\\/:*?\"<>|", c) != nullptr) return false;
    }
    return true;
}

std::string SafeHostName(const std::string& name) {
    std::string out;
    for (unsigned char c : name) {
        const bool unsafe = c < 0x20 || c == 0x7F || strchr("\\/:*?\"<>|", c) != nullptr;
        out += unsafe ? '_' : static_cast<char>(c);
    }
    // Windows drops trailing dots and blanks, so "a." would become "a"; "." and ".." end empty.
    while (!out.empty() && (out.back() == '.' || out.back() == ' ')) out.pop_back();
    if (out.empty()) return "_";
    if (ReservedOnWindows(out)) return "_" + out;
    return out;
}

bool SameNameIgnoringCase(const std::string& one, const std::string& other) {
    if (one.size() != other.size()) return false;
    for (size_t i = 0; i < one.size(); ++i) {
        char a = one[i], b = other[i];
        if (a >= 'a' && a <= 'z') a = static_cast<char>(a - 'a' + 'A');
        if (b >= 'a' && b <= 'z') b = static_cast<char>(b - 'a' + 'A');
        if (a != b) return false;
    }
    return true;
}
