#include "engine/image/trailer_reader.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/binary_data.h"
#include "tests/support/temp_dir.h"

namespace {

struct Outcome {
    int result;
    std::string description;
    int sectorsPerTrack;
};

bool operator==(const Outcome& a, const Outcome& b) {
    return a.result == b.result && a.description == b.description &&
           a.sectorsPerTrack == b.sectorsPerTrack;
}

void PrintTo(const Outcome& o, std::ostream* out) {
    *out << "{" << o.result << ", \"" << o.description << "\", " << o.sectorsPerTrack << "}";
}

Outcome Read(const std::string& path, const TrailerPolicy& policy) {
    char description[kDescriptionBufferSize] = "stale";
    int sectorsPerTrack = -99;
    const int result = ReadTrailerFile(path.c_str(), policy, description, &sectorsPerTrack);
    return {result, description, sectorsPerTrack};
}

// One trailer text, zero-padded to a whole block behind some image bytes, and what each
// policy makes of it.
struct PolicyCase {
    const char* name;
    std::string text;
    Outcome program;
    Outcome stub;
};

class TrailerPolicies : public ::testing::TestWithParam<PolicyCase> {};

TEST_P(TrailerPolicies, ReadTheSameTrailerByTheirOwnRules) {
    const PolicyCase& c = GetParam();
    TempDir dir;
    const std::string path = dir.File("disk.exe");
    std::string block = c.text;
    block.resize(kImageTrailerSize, '\0');
    WriteWholeFile(path, BinaryTestData(4096, 11) + block);

    EXPECT_EQ(Read(path, kProgramTrailerPolicy), c.program);
    EXPECT_EQ(Read(path, kStubTrailerPolicy), c.stub);
}

const char kFull[] = "[Description abc\x01] [SectorsPerTrack ";

INSTANTIATE_TEST_SUITE_P(
    SameTrailers, TrailerPolicies,
    ::testing::Values(
        // What both read alike.
        PolicyCase{"CurrentVersion", std::string("[FileVersion 002] ") + kFull + "18]",
                   {kTrailerRead, "abc", 18}, {kTrailerRead, "abc", 18}},
        PolicyCase{"EmptyDescription", "[FileVersion 002] [Description \x01] [SectorsPerTrack 21]",
                   {kTrailerNoDescription, "", 21}, {kTrailerNoDescription, "", 21}},
        PolicyCase{"DescriptionNotClosed", "[FileVersion 002] [Description abc] [SectorsPerTrack 9]",
                   {kTrailerNoDescription, "", 9}, {kTrailerNoDescription, "", 9}},
        PolicyCase{"NoVersionTag", std::string("[FileVersion002] ") + kFull + "18]",
                   {kTrailerMissing, "", 0}, {kTrailerMissing, "", 0}},
        PolicyCase{"BlanksAndTrailingText", std::string("[FileVersion 002] ") + kFull + "  18x]",
                   {kTrailerRead, "abc", 18}, {kTrailerRead, "abc", 18}},
        // The version: the program decides by it, the stub reads the tags of any.
        PolicyCase{"NewerVersion", std::string("[FileVersion 003] ") + kFull + "18]",
                   {kTrailerNewerVersion, "", 0}, {kTrailerRead, "abc", 18}},
        PolicyCase{"HugeVersion", std::string("[FileVersion 99999999999999999999] ") + kFull + "18]",
                   {kTrailerNewerVersion, "", 0}, {kTrailerRead, "abc", 18}},
        PolicyCase{"Version1", "[FileVersion 001] [Description  Old disk",
                   {kTrailerRead, "Old disk", 0}, {kTrailerNoDescription, "", 0}},
        PolicyCase{"Version1WithTags", "[FileVersion 001] [Description  A\x01] [SectorsPerTrack 18]",
                   {kTrailerRead, "A\x01] [SectorsPerTrack 18]", 0}, {kTrailerRead, " A", 18}},
        PolicyCase{"ZeroVersion", std::string("[FileVersion 000] ") + kFull + "9]",
                   {kTrailerNoDescription, "", 0}, {kTrailerRead, "abc", 9}},
        PolicyCase{"NegativeVersion", std::string("[FileVersion -2] ") + kFull + "9]",
                   {kTrailerNoDescription, "", 0}, {kTrailerRead, "abc", 9}},
        PolicyCase{"LettersForVersion", std::string("[FileVersion two] ") + kFull + "9]",
                   {kTrailerNoDescription, "", 0}, {kTrailerRead, "abc", 9}},
        PolicyCase{"SignedVersion", std::string("[FileVersion +2] ") + kFull + "9]",
                   {kTrailerRead, "abc", 9}, {kTrailerRead, "abc", 9}},
        // The sectors per track: strtol's rule against blanks and digits only.
        PolicyCase{"PlusSign", std::string("[FileVersion 002] ") + kFull + "+18]",
                   {kTrailerRead, "abc", 18}, {kTrailerRead, "abc", 0}},
        PolicyCase{"MinusSign", std::string("[FileVersion 002] ") + kFull + "-9]",
                   {kTrailerRead, "abc", -9}, {kTrailerRead, "abc", 0}},
        PolicyCase{"TabBeforeNumber", std::string("[FileVersion 002] ") + kFull + "\t18]",
                   {kTrailerRead, "abc", 18}, {kTrailerRead, "abc", 0}},
        PolicyCase{"HugeNumber", std::string("[FileVersion 002] ") + kFull + "99999999999999999999]",
                   {kTrailerRead, "abc", 2147483647}, {kTrailerRead, "abc", 999999}},
        PolicyCase{"HugeNegativeNumber", std::string("[FileVersion 002] ") + kFull + "-99999999999]",
                   {kTrailerRead, "abc", -2147483647 - 1}, {kTrailerRead, "abc", 0}},
        // Only the sectors tag outside the description counts.
        PolicyCase{"TagInsideDescription",
                   "[FileVersion 002] [Description [SectorsPerTrack 21]\x01] [SectorsPerTrack 18]",
                   {kTrailerRead, "[SectorsPerTrack 21]", 18}, {kTrailerRead, "[SectorsPerTrack 21]", 18}},
        PolicyCase{"NegativeInsideDescription",
                   "[FileVersion 002] [Description [SectorsPerTrack -1\x01] [SectorsPerTrack 9]",
                   {kTrailerRead, "[SectorsPerTrack -1", 9}, {kTrailerRead, "[SectorsPerTrack -1", 9}},
        PolicyCase{"TagOnlyInsideDescription", "[FileVersion 002] [Description [SectorsPerTrack 21]\x01]",
                   {kTrailerRead, "[SectorsPerTrack 21]", 0}, {kTrailerRead, "[SectorsPerTrack 21]", 0}},
        PolicyCase{"EndMarkInsideDescription",
                   "[FileVersion 002] [Description ab\x01" "cd\x01] [SectorsPerTrack 18]",
                   {kTrailerRead, "ab", 18}, {kTrailerRead, "ab", 18}},
        PolicyCase{"TagBeforeDescription",
                   "[FileVersion 002] [SectorsPerTrack 9] [Description [SectorsPerTrack 21]\x01]",
                   {kTrailerRead, "[SectorsPerTrack 21]", 9}, {kTrailerRead, "[SectorsPerTrack 21]", 9}},
        PolicyCase{"UnendedDescriptionKeepsFirstTag",
                   "[FileVersion 002] [Description [SectorsPerTrack 21] [SectorsPerTrack 18]",
                   {kTrailerNoDescription, "", 21}, {kTrailerNoDescription, "", 21}}),
    [](const ::testing::TestParamInfo<PolicyCase>& p) { return std::string(p.param.name); });

TEST(TrailerPolicies, FilesWithoutBytesAreUnreadableUnderBoth) {
    TempDir dir;
    const std::string empty = dir.File("empty.exe");
    WriteWholeFile(empty, "");
    for (const TrailerPolicy* policy : {&kProgramTrailerPolicy, &kStubTrailerPolicy}) {
        EXPECT_EQ(Read(empty, *policy), (Outcome{kTrailerUnreadable, "", 0}));
        EXPECT_EQ(Read(dir.File("missing.exe"), *policy), (Outcome{kTrailerUnreadable, "", 0}));
    }
}

}  // namespace
