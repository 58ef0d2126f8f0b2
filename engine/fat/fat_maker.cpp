#include "engine/fat/fat_maker.h"

#include <string.h>

#include "engine/fat/fat_bytes.h"
#include "engine/fat/fat_geometry.h"
#include "engine/fat/fat_names.h"
#include "engine/fat/fat_volume.h"

namespace {

constexpr uint32_t kEntryBytes = 32;
constexpr uint32_t kUnitsPerPiece = 13;
constexpr uint32_t kEndOfChain = 0xFFF;

// The boot code of a disk that holds no system: says so, waits for a key and asks the
// BIOS to boot from elsewhere (int 19h). Loaded at 0000:7C00 and placed at offset 62.
const uint8_t kBootCode[] = {
    0xFA, 0x31, 0xC0, 0x8E, 0xD8, 0x8E, 0xD0, 0xBC, 0x00, 0x7C, 0xFB,  // cli; ds = ss = 0; sp
    0xBE, 0x60, 0x7C,                                                  // si = the message
    0xAC, 0x84, 0xC0, 0x74, 0x09,                                      // next: lodsb; jz done
    0xB4, 0x0E, 0xBB, 0x07, 0x00, 0xCD, 0x10, 0xEB, 0xF2,              // teletype; jmp next
    0x31, 0xC0, 0xCD, 0x16, 0xCD, 0x19,                                // done: key; int 19h
};
constexpr size_t kBootCodeOffset = 62;
constexpr size_t kBootMessageOffset = 0x60;  // si above, less 7C00
const char kBootMessage[] =
    "This is not a bootable disk.\r\nPlease insert a bootable floppy and\r\n"
    "press any key to try again ...\r\n";

std::string UpperAscii(const std::string& name) {
    std::string out = name;
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

// The entries a name takes: its short entry and, where the short one cannot say it as
// it is, the long name's pieces.
uint32_t EntriesOf(const std::string& name) {
    uint8_t shortName[11];
    if (FitsShortName(name, shortName)) return 1;
    return 1 + static_cast<uint32_t>((Utf16OfUtf8(name).size() + kUnitsPerPiece - 1) / kUnitsPerPiece);
}

uint32_t ClustersFor(uint64_t bytes, uint32_t clusterBytes) {
    return static_cast<uint32_t>((bytes + clusterBytes - 1) / clusterBytes);
}

// A folder's own clusters: "." and "..", then its children's entries.
uint32_t FolderClusters(const FatSourceItem& folder, uint32_t clusterBytes) {
    uint32_t entries = 2;
    for (const FatSourceItem& child : folder.children) entries += EntriesOf(child.name);
    return ClustersFor(static_cast<uint64_t>(entries) * kEntryBytes, clusterBytes);
}

uint64_t TreeClusters(const FatSourceItem& folder, uint32_t clusterBytes) {
    uint64_t clusters = 0;
    for (const FatSourceItem& child : folder.children) {
        clusters += child.directory ? FolderClusters(child, clusterBytes) + TreeClusters(child, clusterBytes)
                                    : ClustersFor(child.size, clusterBytes);
    }
    return clusters;
}

// Writes a volume: clusters handed out in order, each folder's entries written once
// its children have theirs.
class VolumeWriter {
public:
    VolumeWriter(std::vector<uint8_t>& disk, const FatGeometry& geometry, const FatLayout& layout)
        : disk_(disk), geometry_(geometry), layout_(layout) {}

    // The next `count` clusters as one chain; 0 for none, or when the volume has no more
    // (a file grown since it was measured), which Overflowed then tells.
    uint32_t Allocate(uint32_t count) {
        if (count == 0) return 0;
        if (count > layout_.clusterCount + 2 - next_) {
            overflowed_ = true;
            return 0;
        }
        const uint32_t first = next_;
        for (uint32_t i = 0; i < count; ++i) SetNext(first + i, i + 1 < count ? first + i + 1 : kEndOfChain);
        next_ += count;
        return first;
    }

    uint8_t* ClusterBytes(uint32_t cluster) {
        return disk_.data() + static_cast<size_t>(layout_.dataSector + (cluster - 2) * geometry_.sectorsPerCluster) * 512;
    }

    bool Overflowed() const { return overflowed_; }

    uint8_t* Root() { return disk_.data() + static_cast<size_t>(layout_.rootSector) * 512; }
    size_t RootBytes() const { return static_cast<size_t>(geometry_.rootEntries) * kEntryBytes; }

    // Every copy of the FAT the same as the first.
    void CopyFats() {
        uint8_t* first = disk_.data() + static_cast<size_t>(layout_.firstFatSector) * 512;
        for (uint32_t copy = 1; copy < geometry_.fatCount; ++copy) {
            memcpy(first + static_cast<size_t>(copy) * geometry_.sectorsPerFat * 512, first, static_cast<size_t>(geometry_.sectorsPerFat) * 512);
        }
    }

    void SetNext(uint32_t cluster, uint32_t next) {
        uint8_t* fat = disk_.data() + static_cast<size_t>(layout_.firstFatSector) * 512;
        uint8_t* at = fat + cluster + cluster / 2;
        const uint32_t pair = Le16(at);
        PutLe16(at, (cluster & 1) != 0 ? (pair & 0x000F) | next << 4 : (pair & 0xF000) | next);
    }

private:
    std::vector<uint8_t>& disk_;
    const FatGeometry& geometry_;
    const FatLayout& layout_;
    uint32_t next_ = 2;
    bool overflowed_ = false;
};

void PutEntry(uint8_t* entry, const uint8_t (&name)[11], uint8_t attributes, uint32_t cluster, uint32_t size,
              const FatTimestamp& modified) {
    memcpy(entry, name, sizeof name);
    entry[11] = attributes;
    uint16_t date = 0, time = 0;
    EncodeFatTime(modified, &date, &time);
    PutLe16(entry + 14, time);
    PutLe16(entry + 16, date);
    PutLe16(entry + 18, date);
    PutLe16(entry + 22, time);
    PutLe16(entry + 24, date);
    PutLe16(entry + 26, cluster);
    PutLe32(entry + 28, size);
}

// The long name's pieces, last one first, for the short name `alias`.
void PutLongName(std::vector<uint8_t>& entries, const std::string& name, const uint8_t (&alias)[11]) {
    std::vector<uint16_t> units = Utf16OfUtf8(name);
    const uint32_t pieces = static_cast<uint32_t>((units.size() + kUnitsPerPiece - 1) / kUnitsPerPiece);
    if (units.size() % kUnitsPerPiece != 0) units.push_back(0x0000);
    units.resize(static_cast<size_t>(pieces) * kUnitsPerPiece, 0xFFFF);
    static const int kOffsets[13] = {1, 3, 5, 7, 9, 14, 16, 18, 20, 22, 24, 28, 30};
    const uint8_t checksum = LongNameChecksum(alias);
    for (uint32_t piece = pieces; piece >= 1; --piece) {
        uint8_t entry[kEntryBytes] = {};
        entry[0] = static_cast<uint8_t>(piece | (piece == pieces ? 0x40 : 0));
        entry[11] = kFatLongName;
        entry[13] = checksum;
        for (uint32_t i = 0; i < kUnitsPerPiece; ++i) PutLe16(entry + kOffsets[i], units[(piece - 1) * kUnitsPerPiece + i]);
        entries.insert(entries.end(), entry, entry + kEntryBytes);
    }
}

// The short name of `name` in a folder whose short names are `taken`: the name itself
// when it is one, the upper-case name when that says it without loss (with the long
// name kept beside it for its case), else an alias. True when long-name pieces go with it.
bool ShortNameFor(const std::string& name, std::vector<std::string>& taken, uint8_t (&shortName)[11]) {
    auto free = [&taken](const uint8_t (&candidate)[11]) {
        const std::string text(reinterpret_cast<const char*>(candidate), 11);
        for (const std::string& other : taken) {
            if (other == text) return false;
        }
        return true;
    };
    bool withLongName = true;
    if (FitsShortName(name, shortName) && free(shortName)) {
        withLongName = false;
    } else if (!(FitsShortName(UpperAscii(name), shortName) && free(shortName))) {
        ShortAliasOf(name, taken, shortName);
    }
    taken.emplace_back(reinterpret_cast<const char*>(shortName), 11);
    return withLongName;
}

// `ownCluster` 0 is the root, whose first `rootTaken` entries are taken already (the label).
int WriteFolder(VolumeWriter& writer, const FatSourceItem& folder, uint32_t ownCluster, uint32_t parentCluster,
                uint32_t clusterBytes, uint32_t rootTaken, std::string* refusedName) {
    std::vector<uint8_t> entries;
    if (ownCluster != 0) {
        uint8_t dot[11], dotDot[11];
        memset(dot, ' ', sizeof dot);
        memset(dotDot, ' ', sizeof dotDot);
        dot[0] = dotDot[0] = dotDot[1] = '.';
        entries.resize(static_cast<size_t>(2) * kEntryBytes);
        PutEntry(entries.data(), dot, kFatDirectory, ownCluster, 0, folder.modified);
        PutEntry(entries.data() + kEntryBytes, dotDot, kFatDirectory, parentCluster, 0, folder.modified);
    }
    std::vector<std::string> taken;
    std::vector<uint32_t> childClusters;
    for (const FatSourceItem& child : folder.children) {
        if (!IsValidLongName(child.name)) {
            if (refusedName != nullptr) *refusedName = child.name;
            return -1;
        }
        uint8_t shortName[11];
        if (ShortNameFor(child.name, taken, shortName)) PutLongName(entries, child.name, shortName);
        const uint32_t clusters = child.directory ? FolderClusters(child, clusterBytes) : ClustersFor(child.data.size(), clusterBytes);
        const uint32_t first = writer.Allocate(clusters);
        if (writer.Overflowed()) return -1;
        childClusters.push_back(first);
        const uint8_t attributes = child.directory ? static_cast<uint8_t>(kFatDirectory) : static_cast<uint8_t>(child.attributes & 0x27);
        const uint32_t size = child.directory ? 0 : static_cast<uint32_t>(child.data.size());
        entries.resize(entries.size() + kEntryBytes);
        PutEntry(entries.data() + entries.size() - kEntryBytes, shortName, attributes, first, size, child.modified);
        for (uint32_t i = 0; i < clusters && !child.directory; ++i) {
            const size_t at = static_cast<size_t>(i) * clusterBytes;
            const size_t take = child.data.size() - at < clusterBytes ? child.data.size() - at : clusterBytes;
            memcpy(writer.ClusterBytes(first + i), child.data.data() + at, take);
        }
    }
    for (size_t i = 0; i < folder.children.size(); ++i) {
        if (!folder.children[i].directory) continue;
        if (WriteFolder(writer, folder.children[i], childClusters[i], ownCluster, clusterBytes, 0, refusedName) != 0) {
            return -1;
        }
    }
    // The root's entries go to its own area; a folder's to its clusters, which follow one
    // another.
    uint8_t* target = ownCluster == 0 ? writer.Root() + static_cast<size_t>(kEntryBytes) * rootTaken : writer.ClusterBytes(ownCluster);
    const size_t room = ownCluster == 0 ? writer.RootBytes() - static_cast<size_t>(kEntryBytes) * rootTaken
                                        : static_cast<size_t>(FolderClusters(folder, clusterBytes)) * clusterBytes;
    if (entries.size() > room) return -1;
    memcpy(target, entries.data(), entries.size());
    return 0;
}

bool LabelCharacter(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ' || strchr("!#$%&'()-@^_`{}~", c) != nullptr;
}

void WriteBootSector(uint8_t* boot, const FatGeometry& geometry, const FatMakeOptions& options) {
    boot[0] = 0xEB;
    boot[1] = static_cast<uint8_t>(kBootCodeOffset - 2);
    boot[2] = 0x90;
    memcpy(boot + 3, "VORLIX  ", 8);  // NOLINT(bugprone-not-null-terminated-result): a field, no string
    PutLe16(boot + 11, geometry.bytesPerSector);
    boot[13] = static_cast<uint8_t>(geometry.sectorsPerCluster);
    PutLe16(boot + 14, geometry.reservedSectors);
    boot[16] = static_cast<uint8_t>(geometry.fatCount);
    PutLe16(boot + 17, geometry.rootEntries);
    PutLe16(boot + 19, geometry.totalSectors);
    boot[21] = static_cast<uint8_t>(geometry.media);
    PutLe16(boot + 22, geometry.sectorsPerFat);
    PutLe16(boot + 24, geometry.sectorsPerTrack);
    PutLe16(boot + 26, geometry.heads);
    boot[38] = 0x29;
    PutLe32(boot + 39, options.serial);
    memset(boot + 43, ' ', 11);
    const std::string label = options.label.empty() ? "NO NAME" : options.label;
    memcpy(boot + 43, label.data(), label.size() < 11 ? label.size() : 11);  // NOLINT(bugprone-not-null-terminated-result)
    memcpy(boot + 54, "FAT12   ", 8);  // NOLINT(bugprone-not-null-terminated-result): a field
    memcpy(boot + kBootCodeOffset, kBootCode, sizeof kBootCode);
    memcpy(boot + kBootMessageOffset, kBootMessage, sizeof kBootMessage);
    boot[510] = 0x55;
    boot[511] = 0xAA;
}

}  // namespace

FatFit MeasureFatTree(const FatSourceItem& root, const FloppyType& type, const FatMakeOptions& options) {
    FatFit fit;
    const FatGeometry geometry = StandardFatGeometry(type);
    FatLayout layout;
    if (!LayOutFat(geometry, &layout)) return fit;
    fit.available = static_cast<uint64_t>(layout.clusterCount) * layout.clusterBytes;
    fit.needed = TreeClusters(root, layout.clusterBytes) * layout.clusterBytes;
    fit.rootEntriesAvailable = geometry.rootEntries;
    fit.rootEntries = options.label.empty() ? 0 : 1;
    for (const FatSourceItem& child : root.children) fit.rootEntries += EntriesOf(child.name);
    fit.fits = fit.needed <= fit.available && fit.rootEntries <= fit.rootEntriesAvailable;
    return fit;
}

int MakeFatVolume(const FatSourceItem& root, const FloppyType& type, const FatMakeOptions& options,
                  std::vector<uint8_t>* disk, std::string* refusedName) {
    const FatGeometry geometry = StandardFatGeometry(type);
    FatLayout layout;
    if (!LayOutFat(geometry, &layout) || !MeasureFatTree(root, type, options).fits) return -1;
    disk->assign(type.totalBytes, 0);
    WriteBootSector(disk->data(), geometry, options);
    VolumeWriter writer(*disk, geometry, layout);
    writer.SetNext(0, 0xF00 | geometry.media);
    writer.SetNext(1, kEndOfChain);
    if (!options.label.empty()) {
        uint8_t label[11];
        memset(label, ' ', sizeof label);
        memcpy(label, options.label.data(), options.label.size() < 11 ? options.label.size() : 11);  // NOLINT(bugprone-not-null-terminated-result)
        PutEntry(writer.Root(), label, kFatVolumeLabel, 0, 0, options.labelTime);
    }
    const uint32_t rootTaken = options.label.empty() ? 0 : 1;
    if (WriteFolder(writer, root, 0, 0, layout.clusterBytes, rootTaken, refusedName) != 0) return -1;
    writer.CopyFats();
    return 0;
}

bool FatNameFits(const std::string& name, const std::vector<FatSourceItem>& siblings) {
    if (!IsValidLongName(name)) return false;
    for (const FatSourceItem& sibling : siblings) {
        if (SameNameIgnoringCase(sibling.name, name)) return false;
    }
    return true;
}

bool FatLabelOf(const std::string& text, std::string* label) {
    const std::string upper = UpperAscii(text);
    if (upper.size() > 11) return false;
    for (unsigned char c : upper) {
        if (!LabelCharacter(c)) return false;
    }
    *label = upper;
    while (!label->empty() && label->back() == ' ') label->pop_back();
    return true;
}
