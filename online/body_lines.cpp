#include "online/body_lines.h"

std::vector<std::string> SplitBodyLines(const std::string& body) {
    std::vector<std::string> lines;
    std::string::size_type start = 0;
    while (start < body.size()) {
        std::string::size_type end = body.find('\n', start);
        if (end == std::string::npos) {
            lines.push_back(body.substr(start));
            break;
        }
        std::string::size_type length = end - start;
        if (length > 0 && body[end - 1] == '\r') --length;
        lines.push_back(body.substr(start, length));
        start = end + 1;
    }
    return lines;
}

void AppendJoined(std::string& text, const std::string& line) {
    if (!text.empty()) text += "\r\n";
    text += line;
}
