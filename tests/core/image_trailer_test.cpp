#include "engine/image/image_trailer.h"

#include <gtest/gtest.h>

#include <string>

#include "resources/string_ids.h"
#include "tests/support/binary_data.h"
#include "tests/support/recording_sink.h"
#include "tests/support/temp_dir.h"

namespace {

const size_t kDiskBytes = 1474560;

struct TrailerRead {
    int result;
    std::string description;
    int sectorsPerTrack;
};

TrailerRead ReadTrailer(const std::string& path, RecordingSink& sink) {
    char description[kDescriptionBufferSize];
    int sectorsPerTrack = -99;
    const int result = ReadImageTrailer(path.c_str(), sink, description, &sectorsPerTrack);
    return {result, description, sectorsPerTrack};
}

TrailerRead ReadTrailer(const std::string& path) {
    RecordingSink sink;
    TrailerRead read = ReadTrailer(path, sink);
    EXPECT_TRUE(sink.shown.empty());
    return read;
}

// A trailer block as another program might have written it: `text`, then zeros.
std::string Block(const std::string& text) {
    std::string block = text;
    block.resize(kImageTrailerSize, '\0');
    return block;
}

}  // namespace

TEST(ImageTrailer, WorkedExampleIsLaidOutByteForByte) {
    TempDir dir;
    const std::string path = dir.File("disk.img");
    const std::string sectors = BinaryTestData(kDiskBytes, 1);
    WriteWholeFile(path, sectors);

    ASSERT_EQ(AppendImageTrailer(path.c_str(), "abc", 18), 0);

    const std::string file = ReadWholeFile(path);
    ASSERT_EQ(file.size(), kDiskBytes + kImageTrailerSize);
    EXPECT_EQ(file.substr(0, kDiskBytes), sectors);
    const std::string text("[FileVersion 002] [Description abc\x01] [SectorsPerTrack 18]");
    ASSERT_EQ(text.size(), 57u);
    EXPECT_EQ(file.substr(kDiskBytes), Block(text));

    const TrailerRead read = ReadTrailer(path);
    EXPECT_EQ(read.result, kTrailerRead);
    EXPECT_EQ(read.description, "abc");
    EXPECT_EQ(read.sectorsPerTrack, 18);
}

struct RoundTripCase {
    const char* name;
    std::string written;
    int sectorsPerTrack;
    int result;
    std::string readBack;
    int sectorsReadBack;
};

class TrailerRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(TrailerRoundTrip, ReadsBackWhatWasAppended) {
    const RoundTripCase& c = GetParam();
    TempDir dir;
    const std::string path = dir.File("disk.imz");
    WriteWholeFile(path, BinaryTestData(5000, 2));

    ASSERT_EQ(AppendImageTrailer(path.c_str(), c.written.c_str(), c.sectorsPerTrack), 0);
    EXPECT_EQ(ReadWholeFile(path).size(), 5000u + kImageTrailerSize);

    const TrailerRead read = ReadTrailer(path);
    EXPECT_EQ(read.result, c.result);
    EXPECT_EQ(read.description, c.readBack);
    EXPECT_EQ(read.sectorsPerTrack, c.sectorsReadBack);
}

INSTANTIATE_TEST_SUITE_P(
    Descriptions, TrailerRoundTrip,
    ::testing::Values(
        RoundTripCase{"Plain720k", "Backup of drivers", 9, kTrailerRead, "Backup of drivers", 9},
        RoundTripCase{"Plain1680k", "DMF", 21, kTrailerRead, "DMF", 21},
        RoundTripCase{"EmptyKeepsSectors", "", 18, kTrailerNoDescription, "", 18},
        RoundTripCase{"LongIsCut", std::string(300, 'x'), 18, kTrailerRead, std::string(255, 'x'), 18},
        RoundTripCase{"ExactlyTheLimit", std::string(255, 'y'), 9, kTrailerRead, std::string(255, 'y'), 9},
        RoundTripCase{"LineEndsAndEofByte", "one\r\ntwo\x1A" "three", 18, kTrailerRead, "one\r\ntwo\x1A" "three", 18},
        // Hostile descriptions: end marks become blanks, tags inside change nothing.
        RoundTripCase{"EndMarkInsideIsABlank", "ab\x01" "cd", 18, kTrailerRead, "ab cd", 18},
        RoundTripCase{"EndMarkFirstIsABlank", "\x01" "cd", 18, kTrailerRead, " cd", 18},
        RoundTripCase{"OnlyEndMarks", "\x01\x01", 9, kTrailerRead, "  ", 9},
        RoundTripCase{"SectorsTagInsideIsText", "see [SectorsPerTrack 9] here", 21, kTrailerRead,
                      "see [SectorsPerTrack 9] here", 21},
        RoundTripCase{"OnlyTheSectorsTag", "[SectorsPerTrack 9]", 18, kTrailerRead, "[SectorsPerTrack 9]", 18},
        RoundTripCase{"NegativeSectorsInside", "[SectorsPerTrack -1", 18, kTrailerRead, "[SectorsPerTrack -1", 18},
        RoundTripCase{"EndMarkThenSectorsTag", "x\x01] [SectorsPerTrack 21]", 9, kTrailerRead,
                      "x ] [SectorsPerTrack 21]", 9},
        RoundTripCase{"WholeForgedTrailer", "\x01] [SectorsPerTrack -1] [FileVersion 003]", 18,
                      kTrailerRead, " ] [SectorsPerTrack -1] [FileVersion 003]", 18},
        RoundTripCase{"ForgedDescriptionTag", "[Description evil\x01] [SectorsPerTrack 21]", 9,
                      kTrailerRead, "[Description evil ] [SectorsPerTrack 21]", 9},
        RoundTripCase{"SectorsTagAtTheCut", std::string(240, 'z') + "[SectorsPerTrack 21]", 9,
                      kTrailerRead, (std::string(240, 'z') + "[SectorsPerTrack 21]").substr(0, 255), 9}),
    [](const ::testing::TestParamInfo<RoundTripCase>& p) { return std::string(p.param.name); });

TEST(ImageTrailer, LongDescriptionIsStoredAsItsFirst255Characters) {
    TempDir dir;
    const std::string path = dir.File("disk.img");
    WriteWholeFile(path, "");
    const std::string description = BinaryTestData(300, 3);
    std::string printable;
    for (char c : description) printable += static_cast<char>('a' + static_cast<unsigned char>(c) % 26);

    ASSERT_EQ(AppendImageTrailer(path.c_str(), printable.c_str(), 18), 0);

    const std::string text = "[FileVersion 002] [Description " + printable.substr(0, 255) +
                             "\x01] [SectorsPerTrack 18]";
    EXPECT_EQ(ReadWholeFile(path), Block(text));
}

TEST(ImageTrailer, NoDescriptionAtAllWritesAnEmptyOne) {
    TempDir dir;
    const std::string path = dir.File("disk.img");
    WriteWholeFile(path, "x");
    ASSERT_EQ(AppendImageTrailer(path.c_str(), nullptr, 9), 0);
    EXPECT_EQ(ReadWholeFile(path), "x" + Block("[FileVersion 002] [Description \x01] [SectorsPerTrack 9]"));
}

TEST(ImageTrailer, AppendingNeedsAnExistingFile) {
    TempDir dir;
    const std::string missing = dir.File("missing.img");
    EXPECT_EQ(AppendImageTrailer(missing.c_str(), "abc", 18), -1);
    EXPECT_FALSE(FileExists(missing));
    EXPECT_EQ(AppendImageTrailer(dir.File("no/such/folder.img").c_str(), "abc", 18), -1);
}

struct ForeignCase {
    const char* name;
    std::string text;  // the trailer text; zeros follow up to 1024 bytes
    int result;
    std::string description;
    int sectorsPerTrack;
};

class ForeignTrailer : public ::testing::TestWithParam<ForeignCase> {};

TEST_P(ForeignTrailer, IsReadByItsVersion) {
    const ForeignCase& c = GetParam();
    TempDir dir;
    const std::string path = dir.File("disk.img");
    WriteWholeFile(path, BinaryTestData(20480, 4) + Block(c.text));

    const TrailerRead read = ReadTrailer(path);
    EXPECT_EQ(read.result, c.result);
    EXPECT_EQ(read.description, c.description);
    EXPECT_EQ(read.sectorsPerTrack, c.sectorsPerTrack);
}

// "[FileVersion 001] [Description " is 31 characters: a version-1 description taken from
// offset 32 starts one character after the tag.
INSTANTIATE_TEST_SUITE_P(
    Versions, ForeignTrailer,
    ::testing::Values(
        ForeignCase{"Version1FromOffset32", "[FileVersion 001] [Description  Old disk", kTrailerRead, "Old disk", 0},
        ForeignCase{"Version1IgnoresSectorsTag", "[FileVersion 001] [Description  A\x01] [SectorsPerTrack 18]",
                    kTrailerRead, "A\x01] [SectorsPerTrack 18]", 0},
        ForeignCase{"Version1TooShort", "[FileVersion 001]", kTrailerNoDescription, "", 0},
        ForeignCase{"Version1EndsAt32", "[FileVersion 001] [Description  ", kTrailerNoDescription, "", 0},
        ForeignCase{"LeadingBlankVersion", "[FileVersion  2] [Description x\x01] [SectorsPerTrack 9]",
                    kTrailerRead, "x", 9},
        ForeignCase{"SignedVersion", "[FileVersion +2] [Description x\x01] [SectorsPerTrack 9]", kTrailerRead, "x", 9},
        ForeignCase{"LettersVersion", "[FileVersion abc] [Description x\x01] [SectorsPerTrack 9]",
                    kTrailerNoDescription, "", 0},
        ForeignCase{"NegativeVersion", "[FileVersion -1] [Description x\x01] [SectorsPerTrack 9]",
                    kTrailerNoDescription, "", 0},
        ForeignCase{"ZeroVersion", "[FileVersion 000] [Description x\x01] [SectorsPerTrack 9]",
                    kTrailerNoDescription, "", 0},
        ForeignCase{"VersionTagOnly", "[FileVersion ", kTrailerNoDescription, "", 0},
        ForeignCase{"NoDescriptionTag", "[FileVersion 002] [SectorsPerTrack 21]", kTrailerNoDescription, "", 21},
        ForeignCase{"NoEndMark", "[FileVersion 002] [Description lost] [SectorsPerTrack 18]",
                    kTrailerNoDescription, "", 18},
        ForeignCase{"NoSectorsTag", "[FileVersion 002] [Description x\x01]", kTrailerRead, "x", 0},
        ForeignCase{"HugeSectors", "[FileVersion 002] [Description x\x01] [SectorsPerTrack 99999999999999999999]",
                    kTrailerRead, "x", 2147483647},
        ForeignCase{"WrongCaseTag", "[fileversion 002] [Description x\x01] [SectorsPerTrack 9]", kTrailerMissing, "", 0},
        ForeignCase{"LeadingBlank", " [FileVersion 002] [Description x\x01] [SectorsPerTrack 9]", kTrailerMissing, "", 0},
        ForeignCase{"EmptyBlock", "", kTrailerMissing, "", 0}),
    [](const ::testing::TestParamInfo<ForeignCase>& p) { return std::string(p.param.name); });

TEST(ImageTrailer, NewerVersionWarnsAndStops) {
    for (const char* version : {"003", "3", "999", "99999999999999999999"}) {
        SCOPED_TRACE(version);
        TempDir dir;
        const std::string path = dir.File("disk.imz");
        WriteWholeFile(path, Block(std::string("[FileVersion ") + version +
                                   "] [Description new\x01] [SectorsPerTrack 18]"));
        RecordingSink sink;
        const TrailerRead read = ReadTrailer(path, sink);
        EXPECT_EQ(read.result, kTrailerNewerVersion);
        EXPECT_EQ(read.description, "");
        EXPECT_EQ(read.sectorsPerTrack, 0);
        ASSERT_EQ(sink.shown.size(), 1u);
        EXPECT_EQ(sink.shown[0].id, unsigned{IDS_NEWER_IMAGE_VERSION});
        EXPECT_EQ(sink.shown[0].style, MessageStyle::Warning);
    }
}

TEST(ImageTrailer, OnlyTheLast1024BytesCount) {
    TempDir dir;
    const std::string path = dir.File("disk.img");
    // A trailer that is not at the very end is just data.
    WriteWholeFile(path, Block("[FileVersion 002] [Description x\x01] [SectorsPerTrack 9]") + "tail");
    EXPECT_EQ(ReadTrailer(path).result, kTrailerMissing);
}

TEST(ImageTrailer, RawImageWithoutTrailerHasNone) {
    TempDir dir;
    const std::string path = dir.File("compat.img");
    WriteWholeFile(path, BinaryTestData(kDiskBytes, 5));
    const TrailerRead read = ReadTrailer(path);
    EXPECT_EQ(read.result, kTrailerMissing);
    EXPECT_EQ(read.description, "");
    EXPECT_EQ(read.sectorsPerTrack, 0);
}

TEST(ImageTrailer, ShortFilesAreReadFromTheirStart) {
    TempDir dir;
    const std::string text = "[FileVersion 002] [Description short\x01] [SectorsPerTrack 9]";
    const std::string trailerOnly = dir.File("a.img");
    WriteWholeFile(trailerOnly, text);
    const TrailerRead read = ReadTrailer(trailerOnly);
    EXPECT_EQ(read.result, kTrailerRead);
    EXPECT_EQ(read.description, "short");
    EXPECT_EQ(read.sectorsPerTrack, 9);

    const std::string junk = dir.File("b.img");
    WriteWholeFile(junk, BinaryTestData(1023, 6));
    EXPECT_EQ(ReadTrailer(junk).result, kTrailerMissing);
}

TEST(ImageTrailer, EmptyOrMissingFileCannotBeRead) {
    TempDir dir;
    const std::string empty = dir.File("empty.img");
    WriteWholeFile(empty, "");
    for (const std::string& path : {empty, dir.File("missing.img")}) {
        SCOPED_TRACE(path);
        const TrailerRead read = ReadTrailer(path);
        EXPECT_EQ(read.result, kTrailerUnreadable);
        EXPECT_EQ(read.description, "");
        EXPECT_EQ(read.sectorsPerTrack, 0);
    }
}

// A block without any zero byte must be parsed within its 1024 bytes, and a foreign
// description longer than ours must be cut, not overflow the caller's buffer.
TEST(ImageTrailer, BlockWithoutZeroByteStaysWithinIt) {
    struct Case {
        std::string head;
        int result;
        std::string description;
        int sectorsPerTrack;
    };
    const std::string filler(kImageTrailerSize, 'q');
    const Case cases[] = {
        {"[FileVersion 002] [Description ", kTrailerNoDescription, "", 0},
        {"[FileVersion 001] [Description  ", kTrailerRead, std::string(255, 'q'), 0},
        {"[FileVersion 002] [SectorsPerTrack 18]", kTrailerNoDescription, "", 18},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.head);
        TempDir dir;
        const std::string path = dir.File("full.img");
        const std::string block = (c.head + filler).substr(0, kImageTrailerSize);
        WriteWholeFile(path, BinaryTestData(3000, 7) + block);
        const TrailerRead read = ReadTrailer(path);
        EXPECT_EQ(read.result, c.result);
        EXPECT_EQ(read.description, c.description);
        EXPECT_EQ(read.sectorsPerTrack, c.sectorsPerTrack);
    }

    // The end mark in the block's very last byte, the description far over 255.
    TempDir dir;
    const std::string path = dir.File("long.img");
    std::string block = "[FileVersion 002] [Description " + filler;
    block.resize(kImageTrailerSize - 1);
    block += '\x01';
    WriteWholeFile(path, block);
    const TrailerRead read = ReadTrailer(path);
    EXPECT_EQ(read.result, kTrailerRead);
    EXPECT_EQ(read.description, std::string(255, 'q'));
}

#ifndef _WIN32
#include "tests/support/file_size_limit.h"

// The trailer sits in the stream's buffer until the file is closed: a full disk shows
// only then.
TEST(ImageTrailer, TrailerThatDoesNotFitFails) {
    TempDir dir;
    const std::string path = dir.File("disk.img");
    WriteWholeFile(path, BinaryTestData(5000, 8));
    int result = 0;
    {
        FileSizeLimit full(5500);
        ASSERT_TRUE(full.active());
        result = AppendImageTrailer(path.c_str(), "abc", 18);
    }
    EXPECT_EQ(result, -1);
}
#endif
