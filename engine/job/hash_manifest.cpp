#include "engine/job/hash_manifest.h"

#include <stdio.h>

#include "engine/files/target_files.h"

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
    // Each disk's rows reach the disk with its image: a batch run again skips the images
    // that are there, and would never add rows a power cut had lost.
    const bool written = fwrite(text.data(), 1, text.size(), file) == text.size() && FlushToStableStorage(file);
    return fclose(file) == 0 && written ? 0 : -1;
}
