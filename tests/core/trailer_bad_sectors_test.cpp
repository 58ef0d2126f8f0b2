#include <gtest/gtest.h>

#include <string>

#include "engine/image/image_trailer.h"
#include "engine/image/trailer_reader.h"
#include "tests/support/binary_data.h"
#include "tests/support/temp_dir.h"

// The bad-sector count behind the checksum field: only images of disks that did not read
// whole carry it, and every reader still reads what it read before.
namespace {

const std::string kDigits = "0123456789abcdef0123456789abcdef0123456789abcdef0123456789abcdef";

std::string Image(TempDir& dir, const std::string& name, const char* description,
                  const char* checksum, int badSectors) {
    const std::string path = dir.File(name);
    WriteWholeFile(path, BinaryTestData(2048, 3));
    EXPECT_EQ(AppendImageTrailer(path.c_str(), description, 18, checksum, badSectors), 0);
    return path;
}

TEST(TrailerBadSectors, FollowsTheChecksumAndLeavesEverythingBeforeAsItWas) {
    TempDir dir;
    const std::string before = ReadWholeFile(Image(dir, "a.img", "Old disk", kDigits.c_str(), 0));
    const std::string after = ReadWholeFile(Image(dir, "b.img", "Old disk", kDigits.c_str(), 9));
    ASSERT_EQ(before.size(), after.size());
    const size_t end = before.find(']', before.find("[SHA256 ")) + 1;
    EXPECT_EQ(after.substr(0, end), before.substr(0, end));
    EXPECT_EQ(after.substr(end, 16), " [BadSectors 9]" + std::string(1, '\0'));
    EXPECT_EQ(before.substr(end), std::string(before.size() - end, '\0')) << "a good disk got a field";
}

struct Case {
    const char* name;
    const char* description;
    const char* checksum;
    int written;
    int read;
};

class TrailerBadSectorsRead : public ::testing::TestWithParam<Case> {};

TEST_P(TrailerBadSectorsRead, UnderBothPoliciesAndBesideEveryOtherField) {
    TempDir dir;
    const Case& c = GetParam();
    const std::string path = Image(dir, "disk.img", c.description, c.checksum, c.written);
    for (const TrailerPolicy* policy : {&kProgramTrailerPolicy, &kStubTrailerPolicy}) {
        char description[kDescriptionBufferSize];
        int sectors = 0;
        int bad = -1;
        TrailerChecksum checksum;
        EXPECT_EQ(ReadTrailerFile(path.c_str(), *policy, description, &sectors, &checksum, &bad),
                  kTrailerRead);
        EXPECT_EQ(bad, c.read);
        EXPECT_STREQ(description, c.description);
        EXPECT_EQ(sectors, 18);
        EXPECT_EQ(checksum.state, c.checksum ? TrailerChecksum::Stored : TrailerChecksum::None);
        // A reader that does not ask for the count reads the same.
        char again[kDescriptionBufferSize];
        int sectorsAgain = 0;
        EXPECT_EQ(ReadTrailerFile(path.c_str(), *policy, again, &sectorsAgain), kTrailerRead);
        EXPECT_STREQ(again, c.description);
        EXPECT_EQ(sectorsAgain, 18);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TrailerBadSectorsRead,
    ::testing::Values(Case{"Counted", "Old disk", kDigits.c_str(), 9, 9},
                      Case{"NoneWritten", "Old disk", kDigits.c_str(), 0, 0},
                      Case{"NegativeIsNone", "Old disk", kDigits.c_str(), -4, 0},
                      Case{"WithoutChecksum", "Old disk", nullptr, 3360, 3360},
                      // Text typed into the description is never the count.
                      Case{"TagInDescription", "x [BadSectors 77] y", kDigits.c_str(), 2, 2},
                      Case{"OnlyTagInDescription", "[BadSectors 77]", kDigits.c_str(), 0, 0}),
    [](const ::testing::TestParamInfo<Case>& p) { return std::string(p.param.name); });

}  // namespace
