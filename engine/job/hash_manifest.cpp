#include "engine/job/hash_manifest.h"

#include <stdio.h>

std::string ManifestHeader(const std::string& invokedFrom, const std::string& command) {
    return "%%%% HASHDEEP-1.0\n"
           "%%%% size,md5,sha256,filename\n"
           "## Invoked from: " + invokedFrom + "\n"
           "## $ " + command + "\n"
           "##\n";
}

std::string ManifestRow(const ManifestEntry& entry) {
    return std::to_string(entry.hashes.size) + "," + entry.hashes.md5 + "," + entry.hashes.sha256 + "," +
           entry.name + "\n";
}

int AppendToManifest(const std::string& path, const std::string& header,
                     const std::vector<ManifestEntry>& entries) {
    FILE* file = fopen(path.c_str(), "ab");
    if (file == nullptr) return -1;
    // Where "ab" leaves the position before the first write differs between C libraries.
    const bool fresh = fseek(file, 0, SEEK_END) == 0 && ftell(file) == 0;
    std::string text = fresh ? header : std::string();
    for (const ManifestEntry& entry : entries) text += ManifestRow(entry);
    const bool written = fwrite(text.data(), 1, text.size(), file) == text.size() && fflush(file) == 0;
    return fclose(file) == 0 && written ? 0 : -1;
}
