#pragma once
#include <string>
#include <vector>

// The maker's message file, read as lines: a link text ("N/A" for no link), the address
// the link opens, then the message.
struct MessageFile {
    std::string linkText;     // the first line; empty when the body has none
    std::string linkAddress;  // the second line; empty when the body has none
    std::string message;      // the later lines, joined by AppendJoined

    // "N/A" exactly, letter case included, means no link.
    bool HasLink() const { return linkText != "N/A"; }
};

// Any body is read by these rules, an error page included.
MessageFile ParseMessageFile(const std::vector<std::string>& lines);
