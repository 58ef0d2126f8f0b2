#include "online/link_address.h"

#include <cctype>
#include <cstring>

namespace {

bool StartsWithNoCase(const std::string& text, const char* prefix) {
    size_t i = 0;
    for (; prefix[i] != '\0'; ++i) {
        if (i >= text.size()) return false;
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (std::tolower(c) != prefix[i]) return false;
    }
    return true;
}

}  // namespace

bool IsOpenableAddress(const std::string& address) {
    static const char* const kSchemes[] = {"http://", "https://", "ftp://", "mailto:"};
    for (const char* scheme : kSchemes) {
        if (StartsWithNoCase(address, scheme) && address.size() > std::strlen(scheme)) {
            return true;
        }
    }
    return false;
}
