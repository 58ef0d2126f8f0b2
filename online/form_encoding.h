#pragma once
#include <string>

#include "online/url_canonicalizer.h"

// Values typed by the user travel in an application/x-www-form-urlencoded body.
//
// The platform's canonicalisation escapes them first. It reads its input as a URL,
// though, and can change what the user wrote: it drops tabs and trailing blanks, takes a
// text beginning "A:" for a file path, resolves "/../" after a scheme, and leaves
// everything after a "?" or "#" unescaped. So its answer is kept only when decoding it
// gives back the very text; otherwise the text is escaped here alone. Either way, every
// character still bare that the form cannot carry is escaped afterwards: besides spaces,
// control and non-ASCII bytes and the URL-unsafe characters, also "&", "=", "+", "#"
// and "%", which would otherwise split, end or garble the value on the receiving side.

// True for the bytes that a form value never carries as they are.
bool NeedsFormEscape(unsigned char c);

// Decodes %XX escapes (either case of hexadecimal digits). False when a "%" is not
// followed by two hexadecimal digits.
bool DecodePercentEscapes(const std::string& encoded, std::string& decoded);

// One form value: "100%" becomes "100%25", "a b&c" becomes "a%20b%26c".
std::string EncodeFormValue(const UrlCanonicalizer& canonicalizer, const std::string& text);

// A multi-line comment: each line on its own, joined by a bare carriage return and line
// feed, which the receiving side reads as the line breaks. A line break is "\r\n", as a
// multi-line edit control gives it; a lone CR or LF is an ordinary (escaped) character.
std::string EncodeFormComment(const UrlCanonicalizer& canonicalizer, const std::string& comment);
