// A checksum field in a trailer of any version is compared: by the image check, and by
// the write job through what the main dialog hands it. A newer version is still named.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/image/image_check.h"
#include "engine/job/image_conversion.h"
#include "engine/job/write_floppy_job.h"
#include "program/main_dialog_model.h"
#include "resources/string_ids.h"
#include "tests/support/binary_data.h"
#include "tests/support/image_files.h"
#include "tests/support/job_test_host.h"
#include "tests/support/made_images.h"
#include "tests/support/recording_sink.h"
#include "tests/support/simulated_floppy.h"
#include "tests/support/temp_dir.h"

namespace {

// Answers every question Yes and keeps the request of the job it is asked to run.
class RecordingStartHost final : public StartHost {
public:
    MessageSink& Messages() override { return sink; }
    MessageTexts& Texts() override { return texts; }
    bool FileOpensForReading(const std::string&) override { return true; }
    bool FileIsReadOnly(const std::string&) override { return false; }
    bool FileExists(const std::string& path) override { return FileOpensForReading(path); }
    bool SameFile(const std::string& one, const std::string& other) override {
        return SamePathSpelling(one.c_str(), other.c_str());
    }
    JobOutcome RunJob(const JobRequest& job) override {
        request = job;
        return JobOutcome{JobEnd::Finished};
    }
    void PlayCompletionSound(bool) override {}

    RecordingSink sink;
    SourceTexts texts;
    JobRequest request;
};

const std::string& Content() {
    static const std::string content = BinaryTestData(737280, 21);
    return content;
}

// A 720 kB raw image with the program's own (version 002) trailer and checksum.
const std::string& MadeImage() {
    static const std::string image = [] {
        TempDir dir;
        const std::string path = dir.File("made.img");
        MakeImageFile(path, 9, Content(), "Made", dir.File("no program"));
        return ReadWholeFile(path);
    }();
    return image;
}

enum class Field { Good, Bad, None };

std::string FieldText(Field field) {
    std::string hex = Sha256Of(Content());
    if (field == Field::None) return "";
    if (field == Field::Bad) hex[7] = hex[7] == '0' ? '1' : '0';
    return " [SHA256 " + hex + "]";
}

struct VersionCase {
    const char* name;
    const char* head;  // up to the description's end mark
    Field field;
    bool newer;
    unsigned checkFault;  // 0: the report
};

void PrintTo(const VersionCase& c, std::ostream* out) { *out << c.name; }

std::string TrailerOf(const VersionCase& c) {
    if (std::string(c.head) == "002") {
        // The program's own trailer; a bad field is one changed digit in it.
        std::string image = MadeImage();
        if (c.field == Field::Bad) {
            char& digit = image[image.rfind("[SHA256 ") + 8 + 7];
            digit = digit == '0' ? '1' : '0';
        }
        return image.substr(image.size() - 1024);
    }
    return std::string(c.head) + "] [SectorsPerTrack 9]" + FieldText(c.field);
}

class TrailerVersionChecksum : public ::testing::TestWithParam<VersionCase> {};

TEST_P(TrailerVersionChecksum, IsComparedByTheCheckAndTheWrite) {
    const VersionCase& c = GetParam();
    TempDir dir;
    const std::string path = dir.File("disk.img");
    WriteWholeFile(path, WithTrailerText(MadeImage(), TrailerOf(c)));

    RecordingSink checkSink;
    SourceTexts texts;
    const int checked = CheckImageFile(path.c_str(), checkSink, texts);
    std::vector<unsigned> expected;
    if (c.newer) expected.push_back(IDS_NEWER_IMAGE_VERSION);
    expected.push_back(c.checkFault != 0 ? c.checkFault : unsigned{IDS_IMAGE_CHECK_REPORT});
    EXPECT_EQ(checkSink.Ids(), expected);
    EXPECT_EQ(checked, c.checkFault != 0 ? 1 : 0);
    if (c.checkFault == 0) {
        const std::string& report = checkSink.shown.back().text;
        EXPECT_NE(report.find(c.field == Field::Good ? "matches" : "stores no checksum"),
                  std::string::npos)
            << report;
    }

    // The main dialog warns about a newer version; the job reads the field itself.
    Settings settings;
    RecordingStartHost start;
    MainDialogModel model(settings, start);
    ASSERT_EQ(model.AcceptImageToWrite(path), 0);
    model.StartWrite();
    EXPECT_EQ(start.sink.Ids().front() == IDS_NEWER_IMAGE_VERSION, c.newer);
    SourceImage source;
    ReadSourceImage(start.request.imagePath, kProgramTrailerPolicy, &source);
    EXPECT_EQ(source.checksum.state,
              c.field == Field::None ? TrailerChecksum::None : TrailerChecksum::Stored);

    TestJobHost host;
    SimulatedFloppy disk(9);
    WriteFloppyJob job(start.request, host, disk);
    const bool matches = c.checkFault == 0;
    EXPECT_EQ(job.Run(), matches ? 0 : -1);
    EXPECT_EQ(job.Outcome().messageId, matches ? 0u : c.checkFault);
    EXPECT_EQ(DiskBytes(disk) == Content(), matches);
}

constexpr unsigned kMismatch = IDS_IMAGE_CHECKSUM_MISMATCH;

INSTANTIATE_TEST_SUITE_P(
    Versions, TrailerVersionChecksum,
    ::testing::Values(
        VersionCase{"V1Good", "[FileVersion 001] [Description  Old\x01", Field::Good, false, 0},
        VersionCase{"V1Bad", "[FileVersion 001] [Description  Old\x01", Field::Bad, false, kMismatch},
        VersionCase{"V1None", "[FileVersion 001] [Description  Old\x01", Field::None, false, 0},
        VersionCase{"V2Good", "002", Field::Good, false, 0},
        VersionCase{"V2Bad", "002", Field::Bad, false, kMismatch},
        VersionCase{"V3Good", "[FileVersion 003] [Description New\x01", Field::Good, true, 0},
        VersionCase{"V3Bad", "[FileVersion 003] [Description New\x01", Field::Bad, true, kMismatch},
        VersionCase{"V3None", "[FileVersion 003] [Description New\x01", Field::None, true, 0}),
    [](const ::testing::TestParamInfo<VersionCase>& p) { return std::string(p.param.name); });

// A field typed into a description that never ends is text, in any version.
TEST(TrailerVersionChecksum, TypedIntoAnUnendedDescriptionIsText) {
    for (const char* version : {"001", "002", "003"}) {
        SCOPED_TRACE(version);
        TempDir dir;
        const std::string path = dir.File("disk.img");
        WriteWholeFile(path, WithTrailerText(MadeImage(), std::string("[FileVersion ") + version +
                                                              "] [Description  typed" +
                                                              FieldText(Field::Bad)));
        RecordingSink sink;
        SourceTexts texts;
        EXPECT_EQ(CheckImageFile(path.c_str(), sink, texts), 0);
        EXPECT_NE(sink.shown.back().text.find("stores no checksum"), std::string::npos);
    }
}

}  // namespace
