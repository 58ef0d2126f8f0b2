#pragma once
#include <stdint.h>

#include <string>
#include <vector>

#include "engine/device/floppy_type.h"
#include "engine/fat/fat_time.h"

// A new FAT12 floppy volume made from a tree of files and folders, in memory: the
// standard parameter block of its format, a boot sector that says it is not a system
// disk, long names with their short aliases, times to FAT's two seconds.

struct FatSourceItem {
    std::string name;       // UTF-8, the long name kept on the volume
    bool directory = false;
    uint64_t size = 0;      // a file's, as the folder listing said
    FatTimestamp modified;
    uint8_t attributes = 0; // read-only, hidden, system, archive bits
    std::vector<uint8_t> data;               // a file's contents, `size` bytes, once read
    std::vector<FatSourceItem> children;     // a folder's
    std::string hostPath;   // where the front end reads it from
};

struct FatMakeOptions {
    std::string label;      // up to 11 characters; "" for none ("NO NAME" in the boot sector)
    uint32_t serial = 0;
    FatTimestamp labelTime; // the label entry's time
};

// What the tree needs on a volume of `type` and what the volume offers, in bytes of
// whole clusters (folders' clusters included; the root's entries count too, as clusters
// the tree cannot have when they run out).
struct FatFit {
    uint64_t needed = 0;
    uint64_t available = 0;
    uint32_t rootEntries = 0;           // the root folder's entries, long-name pieces and label included
    uint32_t rootEntriesAvailable = 0;
    bool fits = false;                  // both fit
};

// Measures `root`'s children (the sizes alone, nothing read) on a volume of `type`.
FatFit MeasureFatTree(const FatSourceItem& root, const FloppyType& type, const FatMakeOptions& options);

// The whole disk of `type` holding `root`'s children, whose data has been read: 0, or -1
// when it does not fit (MeasureFatTree says by how much) or a name cannot be a FAT name
// (`refusedName`, unless nullptr, then holds it).
int MakeFatVolume(const FatSourceItem& root, const FloppyType& type, const FatMakeOptions& options,
                  std::vector<uint8_t>* disk, std::string* refusedName = nullptr);

// Can `name` join a folder that holds `siblings` already: a valid long name, and none of
// them the same but for the case of its letters? Lets the front end tell before it reads.
bool FatNameFits(const std::string& name, const std::vector<FatSourceItem>& siblings);

// A label as it is stored: upper case, at most 11 bytes, characters a label may hold.
// False for a label with others.
bool FatLabelOf(const std::string& text, std::string* label);
