#pragma once
#include <string>

// Paths between the UTF-8 a volume's names are given in and the ANSI code page of the
// "A" calls, which Windows 95 has. Converted through UTF-16 by the core's own coder,
// since 95 knows no UTF-8 code page.

// The ANSI form of `utf8`: a character the code page lacks becomes "_", so a name is
// made safe and is still written, under a name the messages show.
std::string AnsiOfUtf8(const std::string& utf8);

// The UTF-8 form of an ANSI path the user chose.
std::string Utf8OfAnsi(const std::string& ansi);
