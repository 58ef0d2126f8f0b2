// vorlix.exe run from the command line with drive A: behind a disk image: whole reads
// and writes of every image kind and disk format, the start checks and their messages,
// cancel, the help dialog and the exit statuses.
#include <gtest/gtest.h>

#include <regex>

#include "engine/image/image_trailer.h"
#include "resources/string_ids.h"
#include "tests/gui/vorlix_run.h"
#include "tests/support/recording_sink.h"

namespace gui {
namespace {

struct Format {
    int kilobytes;
    int sectorsPerTrack;
};

using RoundTripCase = std::tuple<const char*, Format>;

class UnattendedRoundTrip : public VorlixRunTest,
                            public ::testing::WithParamInterface<RoundTripCase> {};

TEST_P(UnattendedRoundTrip, ReadsTheDiskWithItsDescriptionAndWritesItBack) {
    RequireJobs();
    if (IsSkipped()) return;
    const char* extension = std::get<0>(GetParam());
    Format format = std::get<1>(GetParam());
    std::string sample = ReadWholeFile(SampleDisk("sample", format.kilobytes));
    ASSERT_EQ(0, InsertDisk(SampleDisk("sample", format.kilobytes)));
    std::string image = Image(std::string("disk") + extension);

    Start({"/r", image, "/d", "Sample disk", "/f"});
    ASSERT_EQ(0u, FinishWithoutMessages());
    ASSERT_TRUE(FileExists(image));
    RecordingSink sink;
    char description[kDescriptionBufferSize] = "";
    int sectorsPerTrack = 0;
    ASSERT_EQ(kTrailerRead, ReadImageTrailer(image.c_str(), sink, description, &sectorsPerTrack));
    EXPECT_STREQ("Sample disk", description);
    EXPECT_EQ(format.sectorsPerTrack, sectorsPerTrack);
    if (std::string(extension) == ".img") {
        std::string bytes = ReadWholeFile(image);
        ASSERT_EQ(sample.size() + kImageTrailerSize, bytes.size());
        EXPECT_TRUE(bytes.compare(0, sample.size(), sample) == 0) << "the raw image differs from the disk";
    }
    if (std::string(extension) == ".exe") return;  // self-extracting images write themselves

    ASSERT_EQ(0, InsertDisk(SampleDisk("blank", format.kilobytes)));
    vorlix_.Wait(0);
    Start({"/W", image, "/f"});
    ASSERT_EQ(0u, FinishWithoutMessages());
    EXPECT_TRUE(FloppyBytes() == sample) << "the disk written back differs from the one read";
}

std::string RoundTripName(const ::testing::TestParamInfo<RoundTripCase>& info) {
    return std::string(std::get<0>(info.param) + 1) + std::to_string(std::get<1>(info.param).kilobytes);
}

INSTANTIATE_TEST_SUITE_P(EveryKindAndFormat, UnattendedRoundTrip,
                         ::testing::Combine(::testing::Values(".img", ".imz", ".exe"),
                                            ::testing::Values(Format{720, 9}, Format{1440, 18},
                                                              Format{1680, 21})),
                         RoundTripName);

// Words that end at a start check: the message, then the exit status. A refusal at a
// job's own check is a job not done (status 1); a rejected name is -1.
struct RefusedRun {
    const char* name;
    std::vector<std::string> words;  // "@" stands for the test's folder
    unsigned message;
    const char* argument;            // "@" as above
    DWORD status;
};

class UnattendedRefusal : public VorlixRunTest, public ::testing::WithParamInterface<RefusedRun> {
protected:
    std::string InFolder(std::string text) const {
        size_t at = text.find('@');
        return at == std::string::npos ? text : text.replace(at, 1, folder_.path());
    }
};

TEST_P(UnattendedRefusal, ShowsTheMessageAndEndsWithItsStatus) {
    ASSERT_EQ(0, InsertDisk(SampleDisk("sample", 1440)));
    std::string before = FloppyBytes();
    std::vector<std::string> words;
    for (const std::string& word : GetParam().words) words.push_back(InFolder(word));
    Start(words);
    ShownMessage box = ExpectMessage(GetParam().message, InFolder(GetParam().argument));
    ASSERT_TRUE(Answer(box, IDOK));
    EXPECT_EQ(GetParam().status, ExitStatus());
    EXPECT_TRUE(FloppyBytes() == before);
}

INSTANTIATE_TEST_SUITE_P(
    StartChecks, UnattendedRefusal,
    ::testing::Values(
        RefusedRun{"ReadOntoTheDriveItself", {"/r", "a:\\x.img", "/f"}, IDS_CANNOT_SAVE_TO_SOURCE_FLOPPY, "", 1},
        RefusedRun{"ReadOntoDriveB", {"/r", "B:\\x.imz"}, IDS_CANNOT_SAVE_TO_SOURCE_FLOPPY, "", 1},
        RefusedRun{"ReadToAnUnknownKind", {"/r", "@\\x.txt"}, IDS_ONLY_IMG_IMZ_EXE_CREATABLE, "", kExitRejected},
        RefusedRun{"EmergencyReadToACompressedImage", {"/e", "/r", "@\\x.imz", "/f"}, IDS_EMERGENCY_ONLY_IMG, "", 1},
        RefusedRun{"WriteOfASelfExtractingImage", {"/w", "@\\x.exe"}, IDS_ONLY_IMG_IMZ_READABLE, "", kExitRejected},
        RefusedRun{"WriteOfAMissingImage", {"/w", "@\\missing.imz", "/f"}, IDS_UNABLE_TO_OPEN, "@\\missing.imz", kExitRejected}),
    [](const ::testing::TestParamInfo<RefusedRun>& run) { return std::string(run.param.name); });

TEST_F(VorlixRunTest, AnExistingTargetIsReplacedOnlyAfterYes) {
    RequireJobs();
    if (IsSkipped()) return;
    ASSERT_EQ(0, InsertDisk(SampleDisk("sample", 1440)));
    std::string image = Image("old.img");
    WriteWholeFile(image, "keep me");
    for (int answer : {IDNO, IDYES}) {
        Start({"/r", image, "/f"});
        ShownMessage box = ExpectMessage(IDS_ASK_REPLACE_EXISTING, image);
        EXPECT_EQ((std::vector<int>{IDYES, IDNO}), box.buttons);
        ASSERT_TRUE(Answer(box, answer));
        ASSERT_EQ(answer == IDNO ? 1u : 0u, FinishWithoutMessages());
        if (answer == IDNO) {
            EXPECT_EQ("keep me", ReadWholeFile(image));
        }
    }
    EXPECT_EQ(ReadWholeFile(SampleDisk("sample", 1440)).size() + kImageTrailerSize,
              ReadWholeFile(image).size());
}

TEST_F(VorlixRunTest, WritingAsksBeforeOverwritingTheDiskUnlessForced) {
    std::string image = Image("sample.img");
    ASSERT_TRUE(CopyFileA(SampleDisk("sample", 1440).c_str(), image.c_str(), FALSE));
    ASSERT_EQ(0, InsertDisk(SampleDisk("blank", 1440)));
    std::string blank = FloppyBytes();
    Start({"/w", image});
    ASSERT_TRUE(Answer(ExpectMessage(IDS_ASK_OVERWRITE_FLOPPY), IDNO));
    EXPECT_EQ(1u, FinishWithoutMessages());
    EXPECT_TRUE(FloppyBytes() == blank) << "No still wrote the disk";
}

// An emergency read, slowed enough per unit to watch and to cancel.
TEST_F(VorlixRunTest, ProgressShowsThePercentageAndCancelLeavesNoImage) {
    RequireJobs();
    if (IsSkipped()) return;
    ASSERT_EQ(0, InsertDisk(SampleDisk("sample", 1680)));
    std::string image = Image("cancelled.img");
    // A pause per unit keeps the read going long enough to be watched and cancelled; an
    // emergency read of a good disk goes by whole units.
    SetEnvironmentVariableA("VORLIX_SLOW_FLOPPY_UNIT_MS", "40");
    StartSlowFloppy({"/e", "/r", image, "/f"});
    SetEnvironmentVariableA("VORLIX_SLOW_FLOPPY_UNIT_MS", NULL);
    HWND progress = WaitForDialogWith(vorlix_.Id(), 1003);
    ASSERT_NE(nullptr, progress) << "no progress dialog";
    std::string title;
    std::regex percent("Progress \\[([0-9]+)%\\]");
    std::smatch match;
    for (int i = 0; i < 200; ++i, Sleep(25)) {
        title = WindowText(progress);
        if (std::regex_match(title, match, percent) && match[1] != "0") break;
    }
    EXPECT_TRUE(std::regex_match(title, percent)) << "title: " << title;
    EXPECT_EQ(Message(IDS_READING_FLOPPY, "1680 kB"), ControlText(progress, 1005));
    SaveScreenshot(ArtifactPath("progress-dialog.bmp"));

    ASSERT_TRUE(PressButton(progress, IDCANCEL));
    ASSERT_TRUE(Answer(ExpectMessage(IDS_OPERATION_CANCELLED), IDOK));
    EXPECT_EQ(2u, ExitStatus());
    Sleep(500);  // the worker deletes the partial image after its current sector
    EXPECT_FALSE(FileExists(image)) << "a cancelled read left its image";
}

// Words that form no job bring the help dialog; closing it ends the run with -1.
TEST_F(VorlixRunTest, WordsWithoutAJobShowTheHelpAndEndWithMinusOne) {
    for (std::vector<std::string> words : {std::vector<std::string>{"/x"},
                                           std::vector<std::string>{"/w"},
                                           std::vector<std::string>{"one", "two"}}) {
        Start(words);
        HWND help = WaitForTopWindow(vorlix_.Id(), "#32770", "Commandline Help");
        ASSERT_NE(nullptr, help) << "no help dialog for " << words[0];
        ASSERT_TRUE(PressButton(help, IDOK));
        EXPECT_EQ(kExitRejected, ExitStatus()) << words[0];
    }
}

}  // namespace
}  // namespace gui
