#pragma once
#include <string>

// The platform's URL canonicalisation in its percent-encoding mode (WinINet's
// InternetCanonicalizeUrlA with ICU_ENCODE_PERCENT): spaces, unsafe characters and the
// percent sign become %XX escapes; reserved characters such as "&", "=", "?", "/", "@"
// and "$" stay. It treats its input as a URL, so it may also rewrite it.
class UrlCanonicalizer {
public:
    // False when the platform refuses the text.
    virtual bool Canonicalize(const std::string& text, std::string& canonical) const = 0;

protected:
    ~UrlCanonicalizer() = default;
};
