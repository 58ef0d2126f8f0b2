// The form encoding of what the user types, through the emulated platform
// canonicalisation: whatever the text, the encoded value carries no character the form
// cannot, and decodes back to the very text. A comment's line breaks travel as bare
// CR LF pairs, so it decodes back to itself as well.
#include <stdint.h>
#include <stdlib.h>

#include <string>

#include "online/form_encoding.h"
#include "tests/support/emulated_canonicalizer.h"

namespace {

void CheckBare(const std::string& encoded, bool lineBreaksAllowed) {
    for (size_t i = 0; i < encoded.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(encoded[i]);
        if (c == '%' || !NeedsFormEscape(c)) {
            continue;
        }
        if (lineBreaksAllowed && c == '\r' && i + 1 < encoded.size() && encoded[i + 1] == '\n') {
            ++i;
            continue;
        }
        abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const EmulatedCanonicalizer canonicalizer;
    std::string decoded;

    const std::string value = EncodeFormValue(canonicalizer, text);
    CheckBare(value, false);
    if (!DecodePercentEscapes(value, decoded) || decoded != text) {
        abort();
    }

    const std::string comment = EncodeFormComment(canonicalizer, text);
    CheckBare(comment, true);
    if (!DecodePercentEscapes(comment, decoded) || decoded != text) {
        abort();
    }
    return 0;
}
