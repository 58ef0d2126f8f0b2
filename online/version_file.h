#pragma once
#include <string>
#include <vector>

// The maker's version file, read as lines: the first is the download page; a later line
// "$VERSION" marks the line after it as a version string; every other later line is
// version history, shown as it is.
struct VersionFile {
    std::string downloadAddress;  // the first line; empty for an empty body
    std::string latestVersion;    // the version of the first marker no history precedes
    std::string history;          // joined by AppendJoined, markers left out
};

// Any body is read by these rules, an error page included: its first line becomes the
// address, and without a marker the latest version stays empty. A marker on the last
// line has no version after it and stands for nothing.
VersionFile ParseVersionFile(const std::vector<std::string>& lines);
