#pragma once
#include <string>
#include <vector>

#include "engine/job/file_hashes.h"

// A fixity manifest in hashdeep's file format, so that `hashdeep -l -a -k manifest.txt
// FILES...` in the manifest's folder audits the files: a header of its own, then one
// "size,md5,sha256,filename" row per file, the name relative to the manifest's folder.

constexpr char kDefaultManifestName[] = "manifest.txt";

struct ManifestEntry {
    FileHashes hashes;
    std::string name;  // relative to the manifest's folder
};

// hashdeep's header: the format lines, "## Invoked from: FOLDER", "## $ COMMAND", "##".
std::string ManifestHeader(const std::string& invokedFrom, const std::string& command);
std::string ManifestRow(const ManifestEntry& entry);

// Appends `entries` to the manifest at `path`, its header first when the file is new or
// empty, and flushes it: a batch that stops there leaves a manifest that audits. 0, or
// -1 when not all of it was written.
int AppendToManifest(const std::string& path, const std::string& header,
                     const std::vector<ManifestEntry>& entries);
