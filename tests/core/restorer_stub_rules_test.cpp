// The restorer stub's decisions that need no window: which drive, whether it was started
// from a floppy, how it reads its trailer, and which of its own texts stands for each
// message of the shared write job.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/image/image_trailer.h"
#include "resources/string_ids.h"
#include "resources/stub_ids.h"
#include "stub/stub_command_line.h"
#include "stub/stub_messages.h"
#include "stub/stub_trailer.h"
#include "tests/support/binary_data.h"
#include "tests/support/temp_dir.h"

namespace {

struct DriveCase {
    std::vector<std::string> words;  // the first one is the program's path
    const char* drive;
};

class StubDriveTest : public ::testing::TestWithParam<DriveCase> {};

TEST_P(StubDriveTest, OnlyASlashBWordSelectsDriveB) {
    std::vector<char*> argv;
    std::vector<std::string> words = GetParam().words;
    for (std::string& word : words) argv.push_back(&word[0]);
    EXPECT_STREQ(GetParam().drive, StubDriveText(static_cast<int>(argv.size()), argv.data()));
}

INSTANTIATE_TEST_SUITE_P(
    Words, StubDriveTest,
    ::testing::Values(DriveCase{{"C:\\x.exe"}, "A:"},
                      DriveCase{{"C:\\x.exe", "/b"}, "B:"},
                      DriveCase{{"C:\\x.exe", "/B"}, "B:"},
                      DriveCase{{"C:\\x.exe", "other", "/f", "/B"}, "B:"},
                      DriveCase{{"C:\\x.exe", "/bb"}, "A:"},
                      DriveCase{{"C:\\x.exe", "b"}, "A:"},
                      DriveCase{{"C:\\x.exe", "-b"}, "A:"},
                      DriveCase{{"C:\\x.exe", "/"}, "A:"},
                      DriveCase{{"C:\\x.exe", ""}, "A:"},
                      // The program's own path is never a switch.
                      DriveCase{{"/b"}, "A:"}));

struct FloppyPathCase {
    const char* path;
    bool onFloppy;
};

class StubFloppyPathTest : public ::testing::TestWithParam<FloppyPathCase> {};

TEST_P(StubFloppyPathTest, DrivesAAndBInEitherCase) {
    EXPECT_EQ(GetParam().onFloppy, IsOnFloppyDrive(GetParam().path)) << GetParam().path;
}

INSTANTIATE_TEST_SUITE_P(
    Paths, StubFloppyPathTest,
    ::testing::Values(FloppyPathCase{"A:\\disk.exe", true}, FloppyPathCase{"a:\\disk.exe", true},
                      FloppyPathCase{"B:\\disk.exe", true}, FloppyPathCase{"b:disk.exe", true},
                      FloppyPathCase{"C:\\a\\disk.exe", false},
                      FloppyPathCase{"Z:\\tmp\\a:.exe", false},
                      FloppyPathCase{"\\\\server\\a\\disk.exe", false},
                      FloppyPathCase{"a", false}, FloppyPathCase{"", false},
                      FloppyPathCase{nullptr, false}));

struct MessageCase {
    unsigned programId;
    const char* text;
    unsigned stubId;
};

class StubMessageTest : public ::testing::TestWithParam<MessageCase> {};

TEST_P(StubMessageTest, EveryJobMessageHasItsStubText) {
    const UserMessage message{GetParam().programId, MessageStyle::Error, GetParam().text, 0};
    EXPECT_EQ(GetParam().stubId, StubMessageId(message, "B:")) << GetParam().programId;
}

INSTANTIATE_TEST_SUITE_P(
    Ids, StubMessageTest,
    ::testing::Values(
        MessageCase{IDS_OPERATION_CANCELLED, nullptr, IDS_STUB_CANCELLED},
        MessageCase{IDS_UNABLE_TO_OPEN, "B:", IDS_STUB_UNABLE_TO_OPEN},
        MessageCase{IDS_UNABLE_TO_OPEN, "C:\\images\\disk.exe", IDS_STUB_CANNOT_OPEN_IMAGE},
        MessageCase{IDS_UNABLE_TO_OPEN, "A:", IDS_STUB_CANNOT_OPEN_IMAGE},
        MessageCase{IDS_DECOMPRESSOR_NOT_OPENED, "C:\\images\\disk.exe", IDS_STUB_UNABLE_TO_OPEN},
        MessageCase{IDS_UNKNOWN_FLOPPY_TYPE, nullptr, IDS_STUB_UNKNOWN_FLOPPY_TYPE},
        // A damaged payload is a failed read, never a success.
        MessageCase{IDS_IMAGE_READ_FAILED, nullptr, IDS_STUB_IMAGE_READ_FAILED},
        MessageCase{IDS_IMAGE_NOT_WHOLE_DISK, nullptr, IDS_STUB_IMAGE_NOT_WHOLE_DISK},
        MessageCase{IDS_FLOPPY_IN_USE, "A:", IDS_STUB_FLOPPY_IN_USE},
        MessageCase{IDS_SECTOR_WRITE_FAILED, nullptr, IDS_STUB_SECTOR_WRITE_FAILED},
        MessageCase{IDS_SECTOR_WRITE_FAILED_NO_TRAILER, nullptr, IDS_STUB_SECTOR_WRITE_FAILED},
        MessageCase{IDS_WRITING_FLOPPY, "1440 kB", IDS_STUB_WRITING_FLOPPY},
        MessageCase{IDS_WRITE_PROTECTED, nullptr, IDS_STUB_WRITE_PROTECTED},
        MessageCase{IDS_COPY_IMAGE_TO_HARDDRIVE, nullptr, IDS_STUB_COPY_TO_HARDDRIVE},
        MessageCase{IDS_ASK_OVERWRITE_FLOPPY, nullptr, IDS_STUB_ASK_OVERWRITE},
        MessageCase{IDS_KB_COPIED, "12.5", IDS_STUB_KB_COPIED},
        MessageCase{IDS_EXE_HAS_NO_IMAGE, nullptr, IDS_STUB_EXE_HAS_NO_IMAGE},
        MessageCase{IDS_DISK_NEEDS_OTHER_DENSITY, "high density (HD)",
                    IDS_STUB_NEEDS_OTHER_DENSITY},
        MessageCase{IDS_DISK_NEEDS_OTHER_FORMAT, nullptr, IDS_STUB_NEEDS_OTHER_FORMAT},
        // The same words, the format's name as the %s.
        MessageCase{IDS_DISK_NEEDS_FORMAT, "360 kB, 5.25-inch double density",
                    IDS_STUB_NEEDS_OTHER_DENSITY},
        MessageCase{IDS_CANNOT_OPEN_PROGRAM_FILE, "x", IDS_STUB_CANNOT_OPEN_IMAGE},
        MessageCase{IDS_NEWER_IMAGE_VERSION, nullptr, IDS_STUB_NEWER_IMAGE_VERSION},
        MessageCase{IDS_DRIVE_NOT_READY, "A:", IDS_STUB_DRIVE_NOT_READY},
        MessageCase{IDS_IMAGE_TOO_LARGE, nullptr, IDS_STUB_IMAGE_TOO_LARGE},
        // Texts the stub does not carry are not shown under another number.
        MessageCase{IDS_UNABLE_TO_CREATE, "x", 0u}, MessageCase{IDS_NOT_THE_SAME_DISK, "x", 0u},
        MessageCase{IDS_SECTOR_READ_FAILED, nullptr, 0u}));

// Trailer texts as the stub finds them at the end of its own file.
std::string Block(const std::string& text) {
    std::string block = text;
    block.resize(kImageTrailerSize, '\0');
    return block;
}

struct TrailerCase {
    const char* name;
    std::string tail;  // the file's last bytes, after 5000 bytes of payload
    int result;
    const char* description;
    int sectorsPerTrack;
};

class StubTrailerTest : public ::testing::TestWithParam<TrailerCase> {};

TEST_P(StubTrailerTest, ReadsWhatTheTrailerSays) {
    TempDir dir;
    const std::string path = dir.File("disk.exe");
    WriteWholeFile(path, BinaryTestData(5000, 3) + GetParam().tail);
    char description[kDescriptionBufferSize] = "stale";
    int sectors = -7;
    EXPECT_EQ(GetParam().result, ReadStubTrailer(path.c_str(), description, &sectors));
    EXPECT_STREQ(GetParam().description, description);
    EXPECT_EQ(GetParam().sectorsPerTrack, sectors);
}

INSTANTIATE_TEST_SUITE_P(
    Trailers, StubTrailerTest,
    ::testing::Values(
        TrailerCase{"Full", Block("[FileVersion 002] [Description abc\x01] [SectorsPerTrack 18]"),
                    kTrailerRead, "abc", 18},
        TrailerCase{"EmptyDescription",
                    Block("[FileVersion 002] [Description \x01] [SectorsPerTrack 21]"),
                    kTrailerNoDescription, "", 21},
        TrailerCase{"NoDescriptionField", Block("[FileVersion 002] [SectorsPerTrack 9]"),
                    kTrailerNoDescription, "", 9},
        TrailerCase{"DescriptionNotClosed",
                    Block("[FileVersion 002] [Description abc] [SectorsPerTrack 9]"),
                    kTrailerNoDescription, "", 9},
        // The stub writes whatever version made the image.
        TrailerCase{"NewerVersion",
                    Block("[FileVersion 003] [Description new\x01] [SectorsPerTrack 18]"),
                    kTrailerRead, "new", 18},
        TrailerCase{"SectorsFieldAfterTheDescriptionCounts",
                    Block("[FileVersion 002] [Description [SectorsPerTrack 9\x01] "
                          "[SectorsPerTrack 18]"),
                    kTrailerRead, "[SectorsPerTrack 9", 18},
        TrailerCase{"BlanksBeforeNumber",
                    Block("[FileVersion 002] [Description x\x01] [SectorsPerTrack   21]"),
                    kTrailerRead, "x", 21},
        TrailerCase{"NoDigits", Block("[FileVersion 002] [Description x\x01] [SectorsPerTrack ]"),
                    kTrailerRead, "x", 0},
        TrailerCase{"HugeNumberDoesNotOverflow",
                    Block("[FileVersion 002] [SectorsPerTrack 99999999999999999999]"),
                    kTrailerNoDescription, "", 999999},
        TrailerCase{"NoTrailer", std::string(kImageTrailerSize, 'x'), kTrailerMissing, "", 0},
        TrailerCase{"NoBlankAfterTag",
                    Block("[FileVersion002] [Description x\x01] [SectorsPerTrack 18]"),
                    kTrailerMissing, "", 0},
        // Text behind the first zero byte is not part of the trailer.
        TrailerCase{"AfterZeroIgnored",
                    Block(std::string("[FileVersion 002]") + '\0' +
                          "[Description x\x01] [SectorsPerTrack 18]"),
                    kTrailerNoDescription, "", 0}),
    [](const ::testing::TestParamInfo<TrailerCase>& param) { return std::string(param.param.name); });

struct VersionCase {
    const char* tail;
    bool newer;
};

class StubTrailerVersionTest : public ::testing::TestWithParam<VersionCase> {};

// Above 2, as the stub reads numbers; the tags of such a trailer are still read.
TEST_P(StubTrailerVersionTest, TellsANewerFormatApart) {
    TempDir dir;
    const std::string path = dir.File("disk.exe");
    WriteWholeFile(path, BinaryTestData(5000, 4) + Block(GetParam().tail));
    EXPECT_EQ(GetParam().newer, StubTrailerIsNewer(path.c_str())) << GetParam().tail;
}

INSTANTIATE_TEST_SUITE_P(
    Versions, StubTrailerVersionTest,
    ::testing::Values(VersionCase{"[FileVersion 003] [Description n\x01] [SectorsPerTrack 18]", true},
                      VersionCase{"[FileVersion 010] [SectorsPerTrack 18]", true},
                      VersionCase{"[FileVersion   4]", true},
                      VersionCase{"[FileVersion 002] [Description n\x01] [SectorsPerTrack 18]", false},
                      VersionCase{"[FileVersion 001]", false},
                      VersionCase{"[FileVersion -7]", false},
                      VersionCase{"[FileVersion x3]", false},
                      VersionCase{"no trailer at all", false}));

TEST(StubTrailerFileTest, UnreadableFilesAndShortOnes) {
    TempDir dir;
    char description[kDescriptionBufferSize];
    int sectors = 5;
    EXPECT_EQ(kTrailerUnreadable,
              ReadStubTrailer(dir.File("missing.exe").c_str(), description, &sectors));
    EXPECT_EQ(0, sectors);

    const std::string empty = dir.File("empty.exe");
    WriteWholeFile(empty, "");
    EXPECT_EQ(kTrailerUnreadable, ReadStubTrailer(empty.c_str(), description, &sectors));
    EXPECT_FALSE(StubTrailerIsNewer(empty.c_str()));
    EXPECT_FALSE(StubTrailerIsNewer(dir.File("missing.exe").c_str()));

    // A file shorter than a trailer is read from its start.
    const std::string shortFile = dir.File("short.exe");
    WriteWholeFile(shortFile, "[FileVersion 002] [Description s\x01] [SectorsPerTrack 9]");
    EXPECT_EQ(kTrailerRead, ReadStubTrailer(shortFile.c_str(), description, &sectors));
    EXPECT_STREQ("s", description);
    EXPECT_EQ(9, sectors);
}

TEST(StubTrailerFileTest, ReadsWhatTheProgramAppends) {
    TempDir dir;
    const std::string path = dir.File("disk.exe");
    WriteWholeFile(path, BinaryTestData(3000, 9));
    const std::string longText(300, 'd');
    ASSERT_EQ(0, AppendImageTrailer(path.c_str(), longText.c_str(), 21));
    char description[kDescriptionBufferSize];
    int sectors = 0;
    EXPECT_EQ(kTrailerRead, ReadStubTrailer(path.c_str(), description, &sectors));
    EXPECT_EQ(std::string(kMaxDescriptionLength, 'd'), description);
    EXPECT_EQ(21, sectors);
}

// A description that fills the whole block without its end mark stays inside the block.
TEST(StubTrailerFileTest, UnterminatedBlockStaysInBounds) {
    TempDir dir;
    const std::string path = dir.File("disk.exe");
    std::string block = "[FileVersion 002] [Description ";
    block.resize(kImageTrailerSize, 'q');
    WriteWholeFile(path, block);
    char description[kDescriptionBufferSize];
    int sectors = 1;
    EXPECT_EQ(kTrailerNoDescription, ReadStubTrailer(path.c_str(), description, &sectors));
    EXPECT_EQ(0, sectors);
}

}  // namespace
