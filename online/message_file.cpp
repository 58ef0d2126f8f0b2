#include "online/message_file.h"

#include "online/body_lines.h"

MessageFile ParseMessageFile(const std::vector<std::string>& lines) {
    MessageFile file;
    if (lines.size() > 0) file.linkText = lines[0];
    if (lines.size() > 1) file.linkAddress = lines[1];
    for (size_t i = 2; i < lines.size(); ++i) AppendJoined(file.message, lines[i]);
    return file;
}
