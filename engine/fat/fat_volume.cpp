#include "engine/fat/fat_volume.h"

#include <string.h>

#include <utility>

#include "engine/fat/fat_bytes.h"
#include "engine/fat/fat_names.h"

namespace {

constexpr size_t kEntryBytes = 32;
constexpr uint8_t kDeletedMark = 0xE5;
// Deeper than any real floppy's folders; a chain of folders this deep is a loop in disguise.
constexpr int kDeepestFolder = 64;
constexpr uint32_t kEndOfChain = 0xFF8;
constexpr size_t kMostPieces = 20;  // 255 UTF-16 units

// The pieces of a long name gathered before its short entry, in the disk's order.
class LongNamePieces {
public:
    // Pieces come last one first. A deleted one has lost its number with its first byte,
    // so only the checksum keeps such pieces together.
    void Take(const uint8_t* entry) {
        if (entry[0] == kDeletedMark) {
            // No name has more than 20 pieces: a longer run is not one name.
            if (!active_ || !deleted_ || entry[13] != checksum_ || units_.size() >= kMostPieces * 13) {
                Begin(entry, true, 0);
            }
            Prepend(entry);
            return;
        }
        const int sequence = entry[0] & 0x1F;
        if ((entry[0] & 0x40) != 0) {
            Begin(entry, false, sequence);
        } else if (!active_ || deleted_ || entry[13] != checksum_ || sequence != next_) {
            Clear();
            return;
        }
        if (sequence == 0) {
            Clear();
            return;
        }
        Prepend(entry);
        next_ = sequence - 1;
    }

    // The long name of the short entry that follows, or "" when the pieces are not all
    // its own; the pieces are used up either way.
    std::string NameFor(const uint8_t (&shortName)[11], bool entryDeleted) {
        std::string name;
        if (active_ && deleted_ == entryDeleted && !units_.empty()) {
            uint8_t checked[11];
            memcpy(checked, shortName, sizeof checked);
            // A deleted short name's first byte is gone: the long name's first letter
            // stands in for it.
            if (deleted_) checked[0] = static_cast<uint8_t>(units_[0] < 0x80 ? Upper(units_[0]) : '_');
            if ((deleted_ || next_ == 0) && LongNameChecksum(checked) == checksum_) name = Utf8OfUtf16(units_);
        }
        Clear();
        return name;
    }

    void Clear() {
        units_.clear();
        active_ = false;
    }

private:
    static uint32_t Upper(uint32_t c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; }

    void Begin(const uint8_t* entry, bool deleted, int next) {
        Clear();
        active_ = true;
        deleted_ = deleted;
        checksum_ = entry[13];
        next_ = next;
    }

    // The 13 UTF-16 units of one piece, up to its terminator, in front of the later ones.
    void Prepend(const uint8_t* entry) {
        static const int kOffsets[13] = {1, 3, 5, 7, 9, 14, 16, 18, 20, 22, 24, 28, 30};
        std::vector<uint16_t> piece;
        for (int offset : kOffsets) {
            const uint16_t unit = static_cast<uint16_t>(Le16(entry + offset));
            if (unit == 0x0000 || unit == 0xFFFF) break;
            piece.push_back(unit);
        }
        units_.insert(units_.begin(), piece.begin(), piece.end());
    }

    std::vector<uint16_t> units_;
    uint8_t checksum_ = 0;
    int next_ = 0;  // the sequence number the next piece must have; 0 once all are in
    bool active_ = false;
    bool deleted_ = false;
};

// A name as one part of a "/" path.
std::string PathPart(const std::string& name) {
    std::string part = name;
    for (char& c : part) {
        if (c == '/') c = '_';
    }
    return part;
}

// Windows NT keeps an all-lower-case base or extension of a short name as two flags
// (0x08, 0x10) instead of a long name, and so does mtools.
std::string WithNtCase(const std::string& name, uint8_t flags) {
    std::string out = name;
    const size_t dot = out.find('.');
    for (size_t i = 0; i < out.size(); ++i) {
        const bool inBase = dot == std::string::npos || i < dot;
        const bool lower = inBase ? (flags & 0x08) != 0 : (flags & 0x10) != 0;
        if (lower && out[i] >= 'A' && out[i] <= 'Z') out[i] = static_cast<char>(out[i] - 'A' + 'a');
    }
    return out;
}

}  // namespace

struct FatVolume::Folder {
    std::string path;          // "" for the root
    int index = -1;            // its entry; -1 for the root
    std::vector<uint8_t> bytes;
};

FatOpen FatVolume::Open(const uint8_t* disk, size_t size, bool withDeleted) {
    *this = FatVolume();
    disk_ = disk;
    size_ = size;
    withDeleted_ = withDeleted;
    if (ReadFatGeometry(disk, size, &info_.geometry, &info_.fromMediaByte) != 0 ||
        !LayOutFat(info_.geometry, &layout_)) {
        return FatOpen::NoVolume;
    }
    info_.clusterBytes = layout_.clusterBytes;
    info_.bytes = static_cast<uint64_t>(layout_.clusterCount) * layout_.clusterBytes;
    for (uint32_t cluster = 2; cluster < layout_.clusterCount + 2; ++cluster) {
        if (NextCluster(cluster) == 0) info_.freeBytes += layout_.clusterBytes;
    }
    ReadLabelAndSerial();
    const FatGeometry& geometry = info_.geometry;
    const size_t fatBytes = static_cast<size_t>(geometry.sectorsPerFat) * 512;
    const uint8_t* fat = disk_ + static_cast<size_t>(layout_.firstFatSector) * 512;
    for (uint32_t copy = 1; copy < geometry.fatCount; ++copy) {
        if (memcmp(fat, fat + copy * fatBytes, fatBytes) != 0) {
            Note(FatProblem::FatCopiesDiffer, "", 0);
            break;
        }
    }
    owner_.assign(layout_.clusterCount + 2, 0);
    Folder root;
    root.bytes.assign(disk_ + static_cast<size_t>(layout_.rootSector) * 512,
                      disk_ + static_cast<size_t>(layout_.rootSector) * 512 + static_cast<size_t>(geometry.rootEntries) * kEntryBytes);
    ReadFolder(root, 0);
    return FatOpen::Opened;
}

void FatVolume::ReadLabelAndSerial() {
    if (info_.fromMediaByte) return;
    auto trimmed = [](const uint8_t* bytes, size_t size) {
        std::string text(reinterpret_cast<const char*>(bytes), size);
        while (!text.empty() && (text.back() == ' ' || text.back() == '\0')) text.pop_back();
        return text;
    };
    info_.oem = trimmed(disk_ + 3, 8);
    if (disk_[38] == 0x29 || disk_[38] == 0x28) {
        info_.hasSerial = true;
        info_.serial = Le32(disk_ + 39);
    }
    if (disk_[38] == 0x29) {
        const std::string label = trimmed(disk_ + 43, 11);
        if (label != "NO NAME") info_.label = label;
    }
    for (char& c : info_.oem) {
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F) c = '?';
    }
}

uint32_t FatVolume::NextCluster(uint32_t cluster) const {
    const uint8_t* fat = disk_ + static_cast<size_t>(layout_.firstFatSector) * 512;
    const uint32_t at = cluster + cluster / 2;
    const uint32_t pair = Le16(fat + at);
    return (cluster & 1) != 0 ? pair >> 4 : pair & 0x0FFF;
}

uint32_t FatVolume::ClusterSector(uint32_t cluster) const {
    return layout_.dataSector + (cluster - 2) * info_.geometry.sectorsPerCluster;
}

void FatVolume::Note(FatProblem problem, const std::string& path, uint32_t cluster) {
    damage_.push_back(FatDamage{problem, path, cluster});
}

void FatVolume::ReadFolder(const Folder& folder, int depth) {
    LongNamePieces pieces;
    for (size_t at = 0; at + kEntryBytes <= folder.bytes.size(); at += kEntryBytes) {
        const uint8_t* entry = folder.bytes.data() + at;
        if (entry[0] == 0x00) break;  // the folder's end
        const bool deleted = entry[0] == kDeletedMark;
        if (entry[11] == kFatLongName) {
            if (!deleted || withDeleted_) pieces.Take(entry);
            continue;
        }
        uint8_t shortName[11];
        memcpy(shortName, entry, sizeof shortName);
        const std::string longName = pieces.NameFor(shortName, deleted);
        if ((entry[11] & kFatVolumeLabel) != 0) {
            if (folder.index < 0 && !deleted) info_.label = ShortNameText(shortName);
            continue;
        }
        if (deleted && !withDeleted_) continue;
        TakeEntry(folder, entry, longName, depth);
    }
}

void FatVolume::TakeEntry(const Folder& folder, const uint8_t* raw, const std::string& longName, int depth) {
    uint8_t shortName[11];
    memcpy(shortName, raw, sizeof shortName);
    FatEntry entry;
    entry.deleted = raw[0] == kDeletedMark;
    if (entry.deleted) shortName[0] = '_';
    entry.shortName = ShortNameText(shortName);
    if (entry.shortName == "." || entry.shortName == "..") return;
    const std::string shown = longName.empty() ? WithNtCase(entry.shortName, raw[12]) : longName;
    entry.name = shown;
    if (entry.name.empty()) entry.name = "_";  // a blank name would be its folder's path
    entry.path = folder.path.empty() ? PathPart(entry.name) : folder.path + "/" + PathPart(entry.name);
    entry.parent = folder.index;
    entry.attributes = raw[11];
    entry.directory = (raw[11] & kFatDirectory) != 0;
    entry.size = entry.directory ? 0 : Le32(raw + 28);
    entry.modified = DecodeFatTime(static_cast<uint16_t>(Le16(raw + 24)), static_cast<uint16_t>(Le16(raw + 22)));
    entry.firstCluster = Le16(raw + 26);
    entries_.push_back(std::move(entry));
    const size_t index = entries_.size() - 1;
    FatEntry& taken = entries_[index];
    if (taken.deleted) {
        GuessDeletedChain(taken);
        return;
    }
    // Cluster 0 is the root's: such a folder holds the root again; a folder's cluster
    // that a folder already has holds that one again.
    const uint32_t first = taken.firstCluster;
    if (taken.directory && (first == 0 || depth + 1 >= kDeepestFolder ||
                            (ClusterExists(first) && owner_[first] != 0 && entries_[owner_[first] - 1].directory))) {
        taken.damaged = true;
        Note(FatProblem::FolderLoop, taken.path, first);
        return;
    }
    FollowChain(index);
    if (!entries_[index].directory) return;
    Folder inner;
    inner.path = entries_[index].path;
    inner.index = static_cast<int>(index);
    for (uint32_t cluster : entries_[index].clusters) {
        const uint8_t* start = disk_ + static_cast<size_t>(ClusterSector(cluster)) * 512;
        inner.bytes.insert(inner.bytes.end(), start, start + layout_.clusterBytes);
    }
    ReadFolder(inner, depth + 1);
}

void FatVolume::FollowChain(size_t index) {
    FatEntry& entry = entries_[index];
    const uint32_t id = static_cast<uint32_t>(index + 1);
    uint32_t cluster = entry.firstCluster;
    if (cluster == 0 && entry.size == 0) return;  // an empty file has no chain
    uint32_t last = cluster;
    while (true) {
        if (!ClusterExists(cluster)) {
            entry.damaged = true;
            Note(FatProblem::ChainOutside, entry.path, last);
            return;
        }
        if (owner_[cluster] == id) {
            entry.damaged = true;
            Note(FatProblem::ChainLoops, entry.path, cluster);
            return;
        }
        if (owner_[cluster] != 0) {
            entry.damaged = true;
            entries_[owner_[cluster] - 1].damaged = true;
            Note(FatProblem::ChainCrossed, entry.path, cluster);
            return;
        }
        owner_[cluster] = id;
        entry.clusters.push_back(cluster);
        const uint32_t next = NextCluster(cluster);
        if (next >= kEndOfChain) break;
        last = cluster;
        if (next < 2 || next == 0xFF7) {
            entry.damaged = true;
            Note(FatProblem::ChainOutside, entry.path, cluster);
            return;
        }
        cluster = next;
    }
    const uint64_t held = static_cast<uint64_t>(entry.clusters.size()) * layout_.clusterBytes;
    if (!entry.directory && entry.size > held) {
        entry.damaged = true;
        Note(FatProblem::ChainShort, entry.path, entry.clusters.back());
    }
}

// What undelete tools guess: the first cluster and the free ones after it, as many as
// the size needs. The guess is not checked further; a deleted file is never damaged.
void FatVolume::GuessDeletedChain(FatEntry& entry) const {
    const uint64_t needed = (static_cast<uint64_t>(entry.size) + layout_.clusterBytes - 1) / layout_.clusterBytes;
    for (uint32_t cluster = entry.firstCluster; entry.clusters.size() < needed && ClusterExists(cluster) &&
                                                 NextCluster(cluster) == 0;
         ++cluster) {
        entry.clusters.push_back(cluster);
    }
}

void FatVolume::MarkBadSectors(const BadSectorList& bad) {
    if (bad.Count() == 0) return;
    for (FatEntry& entry : entries_) {
        if (entry.deleted) continue;
        for (uint32_t cluster : entry.clusters) {
            const uint32_t first = ClusterSector(cluster);
            bool hit = false;
            for (uint32_t s = 0; s < info_.geometry.sectorsPerCluster; ++s) hit = hit || bad.IsBad(first + s);
            if (!hit) continue;
            entry.damaged = true;
            Note(FatProblem::BadSector, entry.path, cluster);
            break;
        }
    }
}

bool FatVolume::ReadContents(const FatEntry& entry, std::vector<uint8_t>* data) const {
    data->clear();
    if (entry.directory) return !entry.damaged;
    // The size is the disk's word; only what the chain holds is ever there.
    const uint64_t held = static_cast<uint64_t>(entry.clusters.size()) * layout_.clusterBytes;
    data->reserve(static_cast<size_t>(entry.size < held ? entry.size : held));
    for (uint32_t cluster : entry.clusters) {
        if (data->size() >= entry.size) break;
        const size_t take = entry.size - data->size() < layout_.clusterBytes ? entry.size - data->size()
                                                                              : layout_.clusterBytes;
        const uint8_t* start = disk_ + static_cast<size_t>(ClusterSector(cluster)) * 512;
        data->insert(data->end(), start, start + take);
    }
    return data->size() == entry.size && !entry.damaged;
}
