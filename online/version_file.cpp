#include "online/version_file.h"

#include "online/body_lines.h"

namespace {
constexpr char kVersionMarker[] = "$VERSION";
}

VersionFile ParseVersionFile(const std::vector<std::string>& lines) {
    VersionFile file;
    if (lines.empty()) return file;
    file.downloadAddress = lines[0];
    for (size_t i = 1; i < lines.size(); ++i) {
        if (lines[i] == kVersionMarker) {
            if (i + 1 == lines.size()) break;
            ++i;
            // Only the newest entry, the one above any history text, names the version
            // on offer; later markers are older releases in the history.
            if (file.history.empty()) file.latestVersion = lines[i];
        }
        AppendJoined(file.history, lines[i]);
    }
    return file;
}
