#include "engine/image/bad_sector_map.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdio.h>

#include <string>
#include <vector>

#include "engine/job/rescue_text.h"
#include "tests/support/temp_dir.h"

// The map an emergency read leaves beside its image, and the texts of its messages.
namespace {

using ::testing::ElementsAreArray;

constexpr uint32_t k1440 = 2880;

std::vector<uint32_t> BadOf(const BadSectorList& list) {
    std::vector<uint32_t> bad;
    for (uint32_t s = 0; s < list.Total(); ++s) {
        if (list.IsBad(s)) bad.push_back(s);
    }
    return bad;
}

std::string MapText(const std::vector<uint32_t>& bad, uint32_t total) {
    BadSectorList list;
    list.Reset(total);
    for (uint32_t s : bad) list.Mark(s, true);
    TempDir dir;
    const std::string path = dir.File("m.map");
    FILE* file = fopen(path.c_str(), "wb");
    EXPECT_NE(file, nullptr);
    EXPECT_EQ(WriteBadSectorMap(file, list), 0);
    fclose(file);
    return ReadWholeFile(path);
}

TEST(BadSectorMap, WritesDdrescuesLayout) {
    EXPECT_EQ(MapText({1, 2, 2879}, k1440),
              "# Mapfile. Created by Vorlix\n"
              "# current_pos  current_status  current_pass\n"
              "0x00000000     +               1\n"
              "#      pos        size  status\n"
              "0x00000000  0x00000200  +\n"
              "0x00000200  0x00000400  -\n"
              "0x00000600  0x00167800  +\n"
              "0x00167E00  0x00000200  -\n");
}

// Written and read back, every pattern of runs gives the same sectors.
struct RoundTrip {
    const char* name;
    uint32_t total;
    std::vector<uint32_t> bad;
};

class BadSectorMapRoundTrip : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(BadSectorMapRoundTrip, ReadsBackWhatWasWritten) {
    TempDir dir;
    const std::string path = dir.File("disk.img.map");
    WriteWholeFile(path, MapText(GetParam().bad, GetParam().total));
    BadSectorList read;
    ASSERT_EQ(ReadBadSectorMap(path.c_str(), GetParam().total, read), 0);
    EXPECT_THAT(BadOf(read), ElementsAreArray(GetParam().bad));
    EXPECT_EQ(read.Count(), GetParam().bad.size());
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, BadSectorMapRoundTrip,
    ::testing::Values(RoundTrip{"None", k1440, {}}, RoundTrip{"First", k1440, {0}},
                      RoundTrip{"Last", k1440, {2879}}, RoundTrip{"Alternating", 1440, {0, 2, 4, 6, 1439}},
                      RoundTrip{"Track", 3360, {42, 43, 44, 45, 46, 47, 48, 49, 50, 51, 52, 53, 54, 55, 56,
                                                57, 58, 59, 60, 61, 62}},
                      RoundTrip{"LastOf2880kB", 5760, {3360, 5759}}),
    [](const ::testing::TestParamInfo<RoundTrip>& p) { return std::string(p.param.name); });

// Maps that ddrescue itself, or a person, may have left: every status but '+' is a sector
// still to read; comments, blank lines, decimal numbers and CR LF are read as ddrescue reads them.
TEST(BadSectorMap, ReadsDdrescuesOwnMaps) {
    TempDir dir;
    const std::string path = dir.File("x.map");
    WriteWholeFile(path,
                   "# Mapfile. Created by GNU ddrescue version 1.27\r\n"
                   "# current_pos  current_status\r\n"
                   "0x00001000     ?\r\n"
                   "\r\n"
                   "0x00000000  0x00000400  +\r\n"
                   "0x00000400  0x00000200  ?\r\n"
                   "1536  512  *\r\n"
                   "0x00000800  0x00000200  /\r\n"
                   "0x00000A00  0x00000200  -\r\n"
                   "0x00000C00  0x00166800  +\r\n");
    BadSectorList read;
    ASSERT_EQ(ReadBadSectorMap(path.c_str(), k1440, read), 0);
    EXPECT_THAT(BadOf(read), ElementsAreArray({2u, 3u, 4u, 5u}));
}

struct Malformed {
    const char* name;
    const char* runs;  // behind a good header
};

class BadSectorMapRefuses : public ::testing::TestWithParam<Malformed> {};

TEST_P(BadSectorMapRefuses, AnythingThatIsNotAMapOfThisDisk) {
    TempDir dir;
    const std::string path = dir.File("x.map");
    WriteWholeFile(path, std::string("0x00000000  +  1\n") + GetParam().runs);
    BadSectorList read;
    EXPECT_EQ(ReadBadSectorMap(path.c_str(), k1440, read), -1);
    EXPECT_EQ(read.Count(), 0u) << "a refused map must list nothing";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadSectorMapRefuses,
    ::testing::Values(Malformed{"PartSector", "0x00000000  0x00000100  -\n"},
                      Malformed{"Unaligned", "0x00000100  0x00000200  -\n"},
                      Malformed{"PastTheDisk", "0x00167E00  0x00000400  -\n"},
                      Malformed{"Overlapping", "0x00000000  0x00000400  -\n0x00000200  0x00000200  -\n"},
                      Malformed{"UnknownStatus", "0x00000000  0x00000200  x\n"},
                      Malformed{"NoStatus", "0x00000000  0x00000200\n"},
                      Malformed{"Trailing", "0x00000000  0x00000200  - extra\n"},
                      Malformed{"Text", "hello world\n"},
                      Malformed{"Negative", "-512  512  -\n"}),
    [](const ::testing::TestParamInfo<Malformed>& p) { return std::string(p.param.name); });

TEST(BadSectorMap, NoFileOrNoStatusLineIsNoMap) {
    TempDir dir;
    BadSectorList read;
    EXPECT_EQ(ReadBadSectorMap(dir.File("none.map").c_str(), k1440, read), -1);
    WriteWholeFile(dir.File("empty.map"), "# only comments\n");
    EXPECT_EQ(ReadBadSectorMap(dir.File("empty.map").c_str(), k1440, read), -1);
}

// --- The composed parts of the messages --------------------------------------------------

struct Prefix {
    uint32_t sector;
    uint32_t sectorsPerTrack;
    const char* text;
    uint32_t heads = 2;
};

class SectorPrefix : public ::testing::TestWithParam<Prefix> {};

TEST_P(SectorPrefix, NamesCylinderHeadAndSectorFromOne) {
    char text[kSectorPrefixSize];
    FormatSectorPrefix(text, GetParam().sector, GetParam().sectorsPerTrack, GetParam().heads);
    EXPECT_STREQ(text, GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, SectorPrefix,
    ::testing::Values(Prefix{0, 18, "Sector 0 (cylinder 0, head 0, sector 1): "},
                      Prefix{17, 18, "Sector 17 (cylinder 0, head 0, sector 18): "},
                      Prefix{18, 18, "Sector 18 (cylinder 0, head 1, sector 1): "},
                      Prefix{36, 18, "Sector 36 (cylinder 1, head 0, sector 1): "},
                      Prefix{1439, 9, "Sector 1439 (cylinder 79, head 1, sector 9): "},
                      Prefix{3359, 21, "Sector 3359 (cylinder 79, head 1, sector 21): "},
                      // A single-sided disk has no head 1: the next track is the next cylinder.
                      Prefix{9, 9, "Sector 9 (cylinder 1, head 0, sector 1): ", 1},
                      Prefix{359, 9, "Sector 359 (cylinder 39, head 0, sector 9): ", 1},
                      Prefix{5759, 36, "Sector 5759 (cylinder 79, head 1, sector 36): "}));

TEST(RecoveryText, CarriesTheThreeCountsAndTheMap) {
    char text[kRecoveryTextSize];
    FormatRecoveryText(text, 2870, 2880, 10, "C:\\disks\\old.img.map");
    EXPECT_STREQ(text,
                 "Recovered 2870 of 2880 sectors.\n10 sectors could not be read and were filled "
                 "with zeros; they are listed in C:\\disks\\old.img.map.");
}

}  // namespace
