#pragma once
#include "online/url_canonicalizer.h"

// InternetCanonicalizeUrlA with ICU_ENCODE_PERCENT through the program's WinINet
// binding: a first call with a one-byte buffer learns the size, a second fills a buffer
// of that size. False when WinINet is not bound or either call fails.
class WinInetCanonicalizer final : public UrlCanonicalizer {
public:
    bool Canonicalize(const std::string& text, std::string& canonical) const override;
};
