#pragma once
#include <string>

#include "online/url_canonicalizer.h"

// InternetCanonicalizeUrlA with ICU_ENCODE_PERCENT as Wine's WinINet answers for text that
// is not a URL, on a Western (1252) system, so the form encoding can be tested natively.
// tests/support/canonicalize_cases.h pins it to the real call, which the Windows tests
// run through the same table. It reproduces the rewrites the form encoding must undo:
// tabs dropped, trailing blanks and control characters trimmed, a second character ":"
// read as a drive path (a "file://" URL), nothing escaped after a "?" or "#". Dot
// segments after a scheme or a leading "/" are not resolved here.
class EmulatedCanonicalizer final : public UrlCanonicalizer {
public:
    bool Canonicalize(const std::string& text, std::string& canonical) const override;
};
