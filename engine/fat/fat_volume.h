#pragma once
#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

#include "engine/fat/fat_geometry.h"
#include "engine/fat/fat_time.h"
#include "engine/image/bad_sector_list.h"

// A FAT12 floppy volume read from a whole disk in memory: its label, its files and
// folders, and what on it is damaged. Every number on the disk is foreign input: chains
// that loop, cross or leave the disk, folders that hold themselves, sizes beyond their
// chains and unsound parameter blocks are named, never followed past the disk, and what
// can be read is still listed.

enum FatAttribute : uint8_t {
    kFatReadOnly = 0x01,
    kFatHidden = 0x02,
    kFatSystem = 0x04,
    kFatVolumeLabel = 0x08,
    kFatDirectory = 0x10,
    kFatArchive = 0x20,
    kFatLongName = 0x0F,
};

enum class FatProblem {
    ChainLoops,       // a chain comes back to a cluster it had
    ChainCrossed,     // a cluster belongs to an earlier chain too
    ChainOutside,     // a chain names a cluster the volume does not have, or a free one
    ChainShort,       // the size needs more clusters than the chain has
    FolderLoop,       // a folder holds itself or one above it
    BadSector,        // a cluster lies on a sector the image's map lists as unreadable
    FatCopiesDiffer,  // the second FAT is not the first: the first is read
};

struct FatDamage {
    FatProblem problem;
    std::string path;      // of the file or folder; empty for the volume
    uint32_t cluster = 0;  // where it shows, when one does
};

struct FatVolumeInfo {
    std::string label;      // the root's label entry, else the boot sector's; "" for none
    std::string oem;        // the boot sector's OEM name, blanks cut
    uint32_t serial = 0;
    bool hasSerial = false; // only an extended parameter block holds one
    bool fromMediaByte = false;  // a disk without a parameter block
    uint64_t bytes = 0;          // the data area: clusters x cluster size
    uint64_t freeBytes = 0;
    uint32_t clusterBytes = 0;
    FatGeometry geometry;
};

struct FatEntry {
    std::string path;       // UTF-8, "/" between folders, long names where there are
    std::string name;       // its own part of the path, as the disk has it
    int parent = -1;        // the index of its folder's entry; -1 in the root
    std::string shortName;  // "LONGFI~1.TXT"
    bool directory = false;
    uint32_t size = 0;      // as the entry says; 0 for folders
    FatTimestamp modified;  // not Valid() when the entry's date is none
    uint8_t attributes = 0;
    bool deleted = false;   // the entry begins with 0xE5
    bool damaged = false;   // its chain is broken, or lies on a bad sector
    uint32_t firstCluster = 0;
    std::vector<uint32_t> clusters;  // its chain as far as it could be followed
};

enum class FatOpen {
    Opened,    // perhaps with damage: see Damage()
    NoVolume,  // no FAT12 volume on this disk
};

class FatVolume {
public:
    // Reads the volume of `disk` (`size` bytes, which stay the caller's while this is
    // used). `withDeleted` lists deleted entries too (their first cluster, and as many
    // after it as their size needs where those are free, as undelete tools guess).
    FatOpen Open(const uint8_t* disk, size_t size, bool withDeleted = false);

    const FatVolumeInfo& Info() const { return info_; }
    // Every file and folder, each folder before what it holds, in the order of the disk.
    const std::vector<FatEntry>& Entries() const { return entries_; }
    const std::vector<FatDamage>& Damage() const { return damage_; }

    // Marks damaged each entry with a cluster on a sector `bad` lists, and names it.
    void MarkBadSectors(const BadSectorList& bad);

    // The contents of a file: its size's worth of its chain. False when the chain holds
    // less (what it holds is in `data`) or the entry is damaged.
    bool ReadContents(const FatEntry& entry, std::vector<uint8_t>* data) const;

    // The first sector of `cluster`, which the volume has.
    uint32_t ClusterSector(uint32_t cluster) const;

private:
    struct Folder;
    uint32_t NextCluster(uint32_t cluster) const;
    bool ClusterExists(uint32_t cluster) const { return cluster >= 2 && cluster < layout_.clusterCount + 2; }
    void ReadFolder(const Folder& folder, int depth);
    void TakeEntry(const Folder& folder, const uint8_t* entry, const std::string& longName, int depth);
    void FollowChain(size_t index);
    void GuessDeletedChain(FatEntry& entry) const;
    void Note(FatProblem problem, const std::string& path, uint32_t cluster);
    void ReadLabelAndSerial();

    const uint8_t* disk_ = nullptr;
    size_t size_ = 0;
    bool withDeleted_ = false;
    FatLayout layout_;
    FatVolumeInfo info_;
    std::vector<FatEntry> entries_;
    std::vector<FatDamage> damage_;
    std::vector<uint32_t> owner_;  // per cluster: 1 + the index of the entry whose chain has it
};
