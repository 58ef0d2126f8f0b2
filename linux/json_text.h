#pragma once
#include <string>

// `text` as a JSON string, quotes included: quotes, backslashes and control characters
// escaped, and each byte that is not part of valid UTF-8 as \ufffd, so the output is
// always valid JSON whatever a disk's names hold.
std::string JsonString(const std::string& text);
