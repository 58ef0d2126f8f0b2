#pragma once
#include <string>
#include <vector>

#include "engine/fat/extract_files.h"
#include "engine/fat/fat_volume.h"
#include "platform/user_message.h"

// Copies files and folders of a volume into a folder of the host. Every name is made
// safe there (SafeHostName), so nothing lands outside `targetFolder`.
struct FatExtractRequest {
    std::string targetFolder;
    std::vector<std::string> paths;  // the files and folders to copy ("/" between); empty: all
    bool replace = false;            // replace files that are there
};

struct FatExtractResult {
    unsigned files = 0;      // written
    unsigned folders = 0;    // made
    unsigned refused = 0;    // there already, not replaced
    unsigned damaged = 0;    // written as far as they could be read
    unsigned failed = 0;     // not written
    unsigned notFound = 0;   // requested paths the volume does not hold
};

// The host path of a volume path below `targetFolder`, each part made safe.
std::string ExtractPathOf(const std::string& targetFolder, const std::string& volumePath);

// Copies what `request` names, telling `sink` of each file refused, damaged or failed
// and of each path not found. 0 when everything was copied whole; -1 otherwise (what
// could be copied is).
int ExtractFatFiles(const FatVolume& volume, const FatExtractRequest& request, ExtractFiles& files,
                    MessageSink& sink, FatExtractResult* result = nullptr);
