#include "online/wininet_canonicalizer_win32.h"

#include <windows.h>

#include "online/wininet_api_win32.h"

bool WinInetCanonicalizer::Canonicalize(const std::string& text, std::string& canonical) const {
    const WinInet& wininet = TheWinInet();
    if (!wininet.Bound()) return false;

    char probe[1] = {'\0'};
    DWORD size = sizeof probe;
    if (wininet.InternetCanonicalizeUrlA(text.c_str(), probe, &size, ICU_ENCODE_PERCENT)) {
        // Only an empty answer fits in one byte with its terminating zero.
        if (probe[0] != '\0') return false;
        canonical.clear();
        return true;
    }
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0) return false;

    std::string buffer(size, '\0');
    DWORD length = size;
    if (!wininet.InternetCanonicalizeUrlA(text.c_str(), &buffer[0], &length, ICU_ENCODE_PERCENT)) {
        return false;
    }
    canonical.assign(buffer.c_str());
    return true;
}
