#include <gtest/gtest.h>

#include <string>

#include "engine/image/image_trailer.h"
#include "engine/image/trailer_reader.h"
#include "tests/support/binary_data.h"
#include "tests/support/temp_dir.h"

// The checksum field behind the three fields that every reader knows.
namespace {

const std::string kDigits = "0123456789abcdef0123456789abcdef0123456789abcdef0123456789abcdef";

struct Read {
    int result;
    std::string description;
    int sectorsPerTrack;
    TrailerChecksum checksum;
};

Read ReadBack(const std::string& path, const TrailerPolicy& policy) {
    Read read;
    char description[kDescriptionBufferSize];
    read.result = ReadTrailerFile(path.c_str(), policy, description, &read.sectorsPerTrack, &read.checksum);
    read.description = description;
    return read;
}

std::string ImageWithTrailer(TempDir& dir, const char* description, int sectors, const char* checksum) {
    const std::string path = dir.File("disk.img");
    WriteWholeFile(path, BinaryTestData(2048, 5));
    EXPECT_EQ(AppendImageTrailer(path.c_str(), description, sectors, checksum), 0);
    return path;
}

// Readers of earlier versions stop at the sectors field: everything up to it must be what
// was written before there was a checksum, and the rest must be nothing they could misread.
TEST(TrailerChecksum, EverythingBeforeTheNewFieldIsAsWrittenWithoutOne) {
    TempDir dir;
    const std::string before = ReadWholeFile(ImageWithTrailer(dir, "Tools disk", 18, nullptr));
    const std::string after = ReadWholeFile(ImageWithTrailer(dir, "Tools disk", 18, kDigits.c_str()));
    ASSERT_EQ(before.size(), after.size());
    const size_t end = before.find(']', before.find("[SectorsPerTrack ")) + 1;
    EXPECT_EQ(after.substr(0, end), before.substr(0, end));
    EXPECT_EQ(after.substr(end, 8 + 64 + 2), " [SHA256 " + kDigits + "]");
    EXPECT_EQ(after.substr(end + 8 + 64 + 2), std::string(before.size() - end - 74, '\0'));
}

TEST(TrailerChecksum, ReadsBackUnderBothPolicies) {
    TempDir dir;
    const std::string path = ImageWithTrailer(dir, "Tools disk", 21, kDigits.c_str());
    for (const TrailerPolicy* policy : {&kProgramTrailerPolicy, &kStubTrailerPolicy}) {
        const Read read = ReadBack(path, *policy);
        EXPECT_EQ(read.result, kTrailerRead);
        EXPECT_EQ(read.description, "Tools disk");
        EXPECT_EQ(read.sectorsPerTrack, 21);
        EXPECT_EQ(read.checksum.state, TrailerChecksum::Stored);
        EXPECT_EQ(read.checksum.hex, kDigits);
    }
}

struct FieldCase {
    const char* name;
    std::string afterSectors;  // the text behind "[SectorsPerTrack 18]"
    TrailerChecksum::State state;
};

std::ostream& operator<<(std::ostream& out, const FieldCase& c) { return out << c.name; }

class TrailerChecksumField : public testing::TestWithParam<FieldCase> {};

TEST_P(TrailerChecksumField, IsStoredOnlyWhenWhole) {
    TempDir dir;
    const std::string path = dir.File("disk.imz");
    std::string block = "[FileVersion 002] [Description " + std::string("typed [SHA256 ") + kDigits +
                        "]\x01] [SectorsPerTrack 18]" + GetParam().afterSectors;
    block.resize(kImageTrailerSize, '\0');
    WriteWholeFile(path, BinaryTestData(4096, 3) + block);
    for (const TrailerPolicy* policy : {&kProgramTrailerPolicy, &kStubTrailerPolicy}) {
        const Read read = ReadBack(path, *policy);
        EXPECT_EQ(read.result, kTrailerRead);
        EXPECT_EQ(read.sectorsPerTrack, 18) << "the known fields read as before";
        EXPECT_EQ(read.checksum.state, GetParam().state);
    }
}

std::string Flipped(size_t at, char to) {
    std::string digits = kDigits;
    digits[at] = to;
    return digits;
}

INSTANTIATE_TEST_SUITE_P(
    Fields, TrailerChecksumField,
    testing::Values(
        // A description may hold the tag as text: only the field behind it counts.
        FieldCase{"OnlyTypedIntoTheDescription", "", TrailerChecksum::None},
        FieldCase{"Whole", " [SHA256 " + kDigits + "]", TrailerChecksum::Stored},
        FieldCase{"OneDigitShort", " [SHA256 " + kDigits.substr(1) + "]", TrailerChecksum::Malformed},
        FieldCase{"OneDigitTooMany", " [SHA256 " + kDigits + "0]", TrailerChecksum::Malformed},
        FieldCase{"UpperCaseDigit", " [SHA256 " + Flipped(10, 'A') + "]", TrailerChecksum::Malformed},
        FieldCase{"NoDigitAtAll", " [SHA256 " + Flipped(63, 'g') + "]", TrailerChecksum::Malformed},
        FieldCase{"ZeroByteInside", std::string(" [SHA256 0123\0", 14), TrailerChecksum::Malformed},
        FieldCase{"NotClosed", " [SHA256 " + kDigits, TrailerChecksum::Malformed},
        FieldCase{"OtherTagsAfterward", " [SHA256 " + kDigits + "] [Later 1]", TrailerChecksum::Stored}),
    [](const testing::TestParamInfo<FieldCase>& param) { return std::string(param.param.name); });

// Images made before the field read as they always did, without a checksum.
TEST(TrailerChecksum, EarlierTrailersHaveNone) {
    TempDir dir;
    const Read read = ReadBack(ImageWithTrailer(dir, "Old", 9, nullptr), kProgramTrailerPolicy);
    EXPECT_EQ(read.result, kTrailerRead);
    EXPECT_EQ(read.sectorsPerTrack, 9);
    EXPECT_EQ(read.checksum.state, TrailerChecksum::None);
}

// Every version's field is read behind the description's end, and nothing else the
// program reads of such a trailer changes: a version 1 description is still the text
// from offset 32, a newer version is still refused with an empty description.
TEST(TrailerChecksum, IsReadInATrailerOfAnyVersion) {
    struct VersionCase {
        const char* head;
        int result;
        const char* description;
    };
    const std::string field = "] [SectorsPerTrack 18] [SHA256 " + kDigits + "]";
    const VersionCase cases[] = {
        {"[FileVersion 001] [Description  Old\x01", kTrailerRead, nullptr},
        {"[FileVersion 000] [Description x\x01", kTrailerNoDescription, ""},
        {"[FileVersion 003] [Description New\x01", kTrailerNewerVersion, ""},
        {"[FileVersion 99999999999] [Description New\x01", kTrailerNewerVersion, ""},
    };
    for (const VersionCase& c : cases) {
        SCOPED_TRACE(c.head);
        TempDir dir;
        const std::string path = dir.File("disk.img");
        std::string block = c.head + field;
        block.resize(kImageTrailerSize, '\0');
        WriteWholeFile(path, BinaryTestData(4096, 8) + block);
        const Read read = ReadBack(path, kProgramTrailerPolicy);
        EXPECT_EQ(read.result, c.result);
        EXPECT_EQ(read.description, c.description != nullptr ? c.description : block.c_str() + 32);
        EXPECT_EQ(read.sectorsPerTrack, 0);
        EXPECT_EQ(read.checksum.state, TrailerChecksum::Stored);
        EXPECT_EQ(read.checksum.hex, kDigits);
    }
}

}  // namespace
