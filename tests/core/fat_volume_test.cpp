#include "engine/fat/fat_volume.h"

#include <gtest/gtest.h>

#include <string.h>

#include <algorithm>
#include <functional>

#include "engine/fat/fat_disk_source.h"
#include "engine/fat/fat_maker.h"
#include "engine/fat/fat_names.h"
#include "resources/string_ids.h"
#include "tests/support/recording_sink.h"

namespace {

FatSourceItem File(const std::string& name, size_t size, uint8_t fill) {
    FatSourceItem item;
    item.name = name;
    item.size = size;
    item.data.assign(size, fill);
    item.attributes = kFatArchive;
    item.modified = FatTimestamp{2024, 2, 29, 13, 45, 58};
    return item;
}

FatSourceItem Folder(const std::string& name, std::vector<FatSourceItem> children) {
    FatSourceItem item;
    item.name = name;
    item.directory = true;
    item.children = std::move(children);
    item.modified = FatTimestamp{2001, 9, 8, 7, 6, 4};
    return item;
}

const FloppyType& Format(uint32_t kilobytes) {
    return *FindFloppyTypeOfSize(kilobytes * 1024u);
}

// A 1440 kB volume: two files of three clusters each and a folder with one file.
std::vector<uint8_t> SampleDisk() {
    FatSourceItem root = Folder("", {File("A.TXT", 1500, 'a'), File("B.TXT", 1500, 'b'),
                                     Folder("SUB", {File("C.TXT", 10, 'c')})});
    std::vector<uint8_t> disk;
    EXPECT_EQ(MakeFatVolume(root, Format(1440), FatMakeOptions(), &disk), 0);
    return disk;
}

// Sets one FAT12 entry in both copies of a 1440 kB volume's FAT.
void SetNext(std::vector<uint8_t>& disk, uint32_t cluster, uint32_t next) {
    for (uint32_t copy = 0; copy < 2; ++copy) {
        uint8_t* at = disk.data() + 512 + copy * 9 * 512 + cluster + cluster / 2;
        uint32_t pair = at[0] | at[1] << 8;
        pair = (cluster & 1) != 0 ? (pair & 0x000F) | next << 4 : (pair & 0xF000) | next;
        at[0] = static_cast<uint8_t>(pair);
        at[1] = static_cast<uint8_t>(pair >> 8);
    }
}

const FatEntry* Find(const FatVolume& volume, const std::string& path) {
    for (const FatEntry& entry : volume.Entries()) {
        if (entry.path == path) return &entry;
    }
    return nullptr;
}

// The root entry of `name` (11 bytes) in a 1440 kB volume's root folder.
uint8_t* RootEntry(std::vector<uint8_t>& disk, const char* name) {
    uint8_t* root = disk.data() + 19 * 512;
    for (int i = 0; i < 224; ++i) {
        if (memcmp(root + 32 * i, name, 11) == 0) return root + 32 * i;
    }
    return nullptr;
}

struct Hostile {
    const char* name;
    std::function<void(std::vector<uint8_t>&)> damage;
    FatProblem problem;
    const char* damagedPath;
};

std::ostream& operator<<(std::ostream& out, const Hostile& hostile) { return out << hostile.name; }

// Clusters on the sample disk: A 2-4, B 5-7, SUB 8, C 9.
const Hostile kHostile[] = {
    {"ChainLoopsBack", [](std::vector<uint8_t>& d) { SetNext(d, 4, 2); }, FatProblem::ChainLoops, "A.TXT"},
    {"ChainPointsAtItself", [](std::vector<uint8_t>& d) { SetNext(d, 3, 3); }, FatProblem::ChainLoops, "A.TXT"},
    {"ChainsCross", [](std::vector<uint8_t>& d) { SetNext(d, 6, 3); }, FatProblem::ChainCrossed, "B.TXT"},
    {"ChainLeavesTheDisk", [](std::vector<uint8_t>& d) { SetNext(d, 3, 0xFF0); }, FatProblem::ChainOutside, "A.TXT"},
    {"ChainRunsIntoFreeCluster", [](std::vector<uint8_t>& d) { SetNext(d, 3, 0); }, FatProblem::ChainOutside, "A.TXT"},
    {"FirstClusterPastTheEnd", [](std::vector<uint8_t>& d) { RootEntry(d, "B       TXT")[26] = 0xFF; RootEntry(d, "B       TXT")[27] = 0x0F; },
     FatProblem::ChainOutside, "B.TXT"},
    {"SizeBeyondChain", [](std::vector<uint8_t>& d) { RootEntry(d, "A       TXT")[29] = 0x40; }, FatProblem::ChainShort, "A.TXT"},
    {"SizeOfFourGigabytes", [](std::vector<uint8_t>& d) { memset(RootEntry(d, "A       TXT") + 28, 0xFF, 4); },
     FatProblem::ChainShort, "A.TXT"},
    {"FolderHoldsItself", [](std::vector<uint8_t>& d) { d[(33 + 8 - 2) * 512 + 64 + 26] = 8; d[(33 + 8 - 2) * 512 + 64 + 11] = kFatDirectory; },
     FatProblem::FolderLoop, "SUB/C.TXT"},
    {"FolderHoldsTheRoot", [](std::vector<uint8_t>& d) { d[(33 + 8 - 2) * 512 + 64 + 26] = 0; d[(33 + 8 - 2) * 512 + 64 + 11] = kFatDirectory; },
     FatProblem::FolderLoop, "SUB/C.TXT"},
    {"FatCopiesDiffer", [](std::vector<uint8_t>& d) { d[512 + 9 * 512 + 100] ^= 1; }, FatProblem::FatCopiesDiffer, nullptr},
};

class FatHostileVolume : public testing::TestWithParam<Hostile> {};

TEST_P(FatHostileVolume, IsReadWithItsDamageNamed) {
    std::vector<uint8_t> disk = SampleDisk();
    GetParam().damage(disk);
    FatVolume volume;
    ASSERT_EQ(volume.Open(disk.data(), disk.size()), FatOpen::Opened);
    ASSERT_FALSE(volume.Damage().empty());
    EXPECT_EQ(volume.Damage()[0].problem, GetParam().problem);
    if (GetParam().damagedPath != nullptr) {
        const FatEntry* entry = Find(volume, GetParam().damagedPath);
        ASSERT_NE(entry, nullptr);
        EXPECT_TRUE(entry->damaged);
        std::vector<uint8_t> data;
        EXPECT_FALSE(volume.ReadContents(*entry, &data));
        EXPECT_LE(data.size(), entry->size);
    }
    // What is not damaged is still listed and read whole.
    const FatEntry* other = Find(volume, GetParam().problem == FatProblem::FolderLoop ? "B.TXT" : "SUB/C.TXT");
    ASSERT_NE(other, nullptr);
    std::vector<uint8_t> data;
    EXPECT_TRUE(volume.ReadContents(*other, &data));
}

INSTANTIATE_TEST_SUITE_P(Damage, FatHostileVolume, testing::ValuesIn(kHostile),
                         [](const testing::TestParamInfo<Hostile>& param) { return std::string(param.param.name); });

// A list that marks damaged files in a column is told only what it cannot show: the
// volume's own problems and how many there were in all.
TEST(FatDamageTold, ByDetail) {
    std::vector<uint8_t> disk = SampleDisk();
    SetNext(disk, 4, 2);              // A.TXT loops
    disk[512 + 9 * 512 + 100] ^= 1;  // the copies differ
    FatVolume volume;
    ASSERT_EQ(volume.Open(disk.data(), disk.size()), FatOpen::Opened);
    const struct {
        FatDamageDetail detail;
        std::vector<unsigned> ids;
    } cases[] = {
        {FatDamageDetail::Every, {IDS_FAT_CHAIN_LOOPS, IDS_FAT_COPIES_DIFFER, IDS_FAT_VOLUME_DAMAGED}},
        {FatDamageDetail::VolumeOnly, {IDS_FAT_COPIES_DIFFER, IDS_FAT_VOLUME_DAMAGED}},
    };
    for (const auto& c : cases) {
        RecordingSink sink;
        EXPECT_EQ(TellFatDamage(volume, sink, c.detail), -1);
        std::vector<unsigned> ids = sink.Ids();
        std::sort(ids.begin(), ids.end() - 1);
        std::vector<unsigned> expected = c.ids;
        std::sort(expected.begin(), expected.end() - 1);
        EXPECT_EQ(ids, expected);
        EXPECT_EQ(sink.shown.back().number, 2);
    }
    FatVolume sound;
    const std::vector<uint8_t> whole = SampleDisk();
    ASSERT_EQ(sound.Open(whole.data(), whole.size()), FatOpen::Opened);
    RecordingSink quiet;
    EXPECT_EQ(TellFatDamage(sound, quiet, FatDamageDetail::VolumeOnly), 0);
    EXPECT_TRUE(quiet.shown.empty());
}

struct Unreadable {
    const char* name;
    std::function<void(std::vector<uint8_t>&)> damage;
};

const Unreadable kNoVolume[] = {
    {"Zeros", [](std::vector<uint8_t>& d) { d.assign(d.size(), 0); }},
    {"SectorSizeZero", [](std::vector<uint8_t>& d) { d[11] = d[12] = 0; }},
    {"ClusterSizeNotPowerOfTwo", [](std::vector<uint8_t>& d) { d[13] = 3; }},
    {"NoFats", [](std::vector<uint8_t>& d) { d[16] = 0; }},
    {"MoreSectorsThanTheDisk", [](std::vector<uint8_t>& d) { d[19] = 0xFF; d[20] = 0xFF; }},
    {"TooShortForItsBootSector", [](std::vector<uint8_t>& d) { d.resize(700); }},
};

TEST(FatVolume, UnsoundParameterBlocksNameNoVolume) {
    for (const Unreadable& unreadable : kNoVolume) {
        std::vector<uint8_t> disk = SampleDisk();
        unreadable.damage(disk);
        FatVolume volume;
        EXPECT_EQ(volume.Open(disk.data(), disk.size()), FatOpen::NoVolume) << unreadable.name;
    }
}

// A device's name would open the device on DOS: such files get aliases, as mcopy gives them.
TEST(FatVolume, DeviceNamesGetAliases) {
    FatSourceItem root = Folder("", {File("aux.c", 1, 'a'), File("NUL.TXT", 1, 'n'), File("con", 1, 'c'),
                                     File("COM1", 1, '1'), File("CONSOLE.TXT", 1, 'k')});
    std::vector<uint8_t> disk;
    ASSERT_EQ(MakeFatVolume(root, Format(1440), FatMakeOptions(), &disk), 0);
    FatVolume volume;
    ASSERT_EQ(volume.Open(disk.data(), disk.size()), FatOpen::Opened);
    const std::pair<const char*, const char*> expected[] = {
        {"aux.c", "AUX~1.C"}, {"NUL.TXT", "NUL~1.TXT"}, {"con", "CON~1"}, {"COM1", "COM1~1"}, {"CONSOLE.TXT", "CONSOLE.TXT"}};
    for (const auto& [path, alias] : expected) {
        const FatEntry* entry = Find(volume, path);
        ASSERT_NE(entry, nullptr) << path;
        EXPECT_EQ(entry->shortName, alias);
    }
}

TEST(FatVolume, KeepsLongNamesTimesAttributesAndContents) {
    FatSourceItem hidden = File("Read me first.txt", 700, 'r');
    hidden.attributes = kFatArchive | kFatHidden | kFatReadOnly;
    FatSourceItem root = Folder("", {hidden, File("Read me second.txt", 0, 0), File("readme.txt", 3, 'x'),
                                     Folder("Überordner", {File("ÄÖÜ €.dat", 5000, 'u')})});
    FatMakeOptions options;
    options.label = "MY DISK";
    std::vector<uint8_t> disk;
    ASSERT_EQ(MakeFatVolume(root, Format(720), options, &disk), 0);
    FatVolume volume;
    ASSERT_EQ(volume.Open(disk.data(), disk.size()), FatOpen::Opened);
    EXPECT_TRUE(volume.Damage().empty());
    EXPECT_EQ(volume.Info().label, "MY DISK");
    ASSERT_EQ(volume.Entries().size(), 5u);
    const FatEntry& first = volume.Entries()[0];
    EXPECT_EQ(first.path, "Read me first.txt");
    EXPECT_EQ(first.shortName, "README~1.TXT");
    EXPECT_EQ(volume.Entries()[1].shortName, "README~2.TXT");
    EXPECT_EQ(volume.Entries()[2].shortName, "README.TXT");
    EXPECT_EQ(volume.Entries()[2].path, "readme.txt");
    EXPECT_EQ(first.attributes, kFatArchive | kFatHidden | kFatReadOnly);
    EXPECT_EQ(first.modified.second, 58u);
    EXPECT_EQ(first.modified.day, 29u);
    EXPECT_EQ(volume.Entries()[4].path, "Überordner/ÄÖÜ €.dat");
    std::vector<uint8_t> data;
    ASSERT_TRUE(volume.ReadContents(volume.Entries()[4], &data));
    EXPECT_EQ(data, std::vector<uint8_t>(5000, 'u'));
}

TEST(FatVolume, ListsDeletedEntriesOnlyWhenAsked) {
    std::vector<uint8_t> disk = SampleDisk();
    RootEntry(disk, "B       TXT")[0] = 0xE5;
    FatVolume volume;
    ASSERT_EQ(volume.Open(disk.data(), disk.size()), FatOpen::Opened);
    EXPECT_EQ(Find(volume, "B.TXT"), nullptr);
    EXPECT_EQ(Find(volume, "_.TXT"), nullptr);
    ASSERT_EQ(volume.Open(disk.data(), disk.size(), true), FatOpen::Opened);
    const FatEntry* deleted = Find(volume, "_.TXT");
    ASSERT_NE(deleted, nullptr);
    EXPECT_TRUE(deleted->deleted);
    EXPECT_FALSE(deleted->damaged);
}

// A deleted long name has lost its pieces' numbers and its short name's first letter;
// the checksum still ties them together.
TEST(FatVolume, RecoversTheLongNameOfADeletedFile) {
    std::vector<uint8_t> disk;
    ASSERT_EQ(MakeFatVolume(Folder("", {File("Kept.txt", 1, 'k'), File("A long lost name.txt", 9, 'l')}), Format(1440),
                            FatMakeOptions(), &disk),
              0);
    uint8_t* root = disk.data() + 19 * 512;
    for (int i = 2; i < 5; ++i) root[32 * i] = 0xE5;  // two pieces and the short entry
    SetNext(disk, 3, 0);                                // and its one cluster freed
    FatVolume volume;
    ASSERT_EQ(volume.Open(disk.data(), disk.size(), true), FatOpen::Opened);
    const FatEntry* lost = Find(volume, "A long lost name.txt");
    ASSERT_NE(lost, nullptr);
    EXPECT_TRUE(lost->deleted);
    EXPECT_EQ(lost->clusters.size(), 1u);
    ASSERT_NE(Find(volume, "Kept.txt"), nullptr);
}

// The oldest 5.25-inch disks have no parameter block; the FAT's media byte names them.
TEST(FatVolume, ReadsADiskWithoutParameterBlockByItsMediaByte) {
    std::vector<uint8_t> disk;
    ASSERT_EQ(MakeFatVolume(Folder("", {File("OLD.COM", 100, 'o')}), Format(160), FatMakeOptions(), &disk), 0);
    memset(disk.data(), 0, 512);
    FatVolume volume;
    ASSERT_EQ(volume.Open(disk.data(), disk.size()), FatOpen::Opened);
    EXPECT_TRUE(volume.Info().fromMediaByte);
    EXPECT_EQ(volume.Info().geometry.media, 0xFEu);
    ASSERT_NE(Find(volume, "OLD.COM"), nullptr);
}

TEST(FatNames, HostNamesStayInsideTheTarget) {
    const std::pair<const char*, const char*> kNames[] = {
        {"..", "_"}, {".", "_"}, {"a/b", "a_b"}, {"a\\b", "a_b"}, {"x\x01y", "x_y"}, {"CON", "_CON"},
        {"com1.txt", "_com1.txt"}, {"name. ", "name"}, {"ok.txt", "ok.txt"}, {"Lpt9", "_Lpt9"},
    };
    for (const auto& [name, safe] : kNames) EXPECT_EQ(SafeHostName(name), safe) << name;
}

TEST(FatMaker, RefusesWhatDoesNotFitNamingBothSizes) {
    const FatSourceItem root = Folder("", {File("BIG.BIN", 400 * 1024, 0)});
    const FatFit fit = MeasureFatTree(root, Format(360), FatMakeOptions());
    EXPECT_FALSE(fit.fits);
    EXPECT_EQ(fit.needed, 400u * 1024u);
    EXPECT_EQ(fit.available, 354u * 1024u);
    std::vector<uint8_t> disk;
    EXPECT_EQ(MakeFatVolume(root, Format(360), FatMakeOptions(), &disk), -1);
}

}  // namespace
