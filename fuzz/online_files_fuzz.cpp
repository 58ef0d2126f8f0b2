// The maker's version and message files, fetched from the network: any body, split into
// lines and read by both layouts.
#include <stdint.h>
#include <stdlib.h>

#include <string>

#include "online/body_lines.h"
#include "online/message_file.h"
#include "online/version_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string body(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> lines = SplitBodyLines(body);
    size_t total = 0;
    for (const std::string& line : lines) {
        if (line.find('\n') != std::string::npos) {
            abort();  // a line ends at its line feed
        }
        total += line.size();
    }
    if (total > size) {
        abort();
    }
    const VersionFile version = ParseVersionFile(lines);
    if (!lines.empty() && version.downloadAddress != lines[0]) {
        abort();
    }
    const MessageFile message = ParseMessageFile(lines);
    if (!lines.empty() && message.linkText != lines[0]) {
        abort();
    }
    (void)message.HasLink();
    return 0;
}
