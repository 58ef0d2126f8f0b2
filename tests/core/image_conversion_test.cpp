// Converting an image into another kind without a drive: through the runner, as every
// front end starts it, then checked and written back onto a simulated disk.
#include "engine/job/image_conversion.h"

#include <gtest/gtest.h>
#include <string.h>

#include <string>
#include <vector>

#include "engine/image/image_check.h"
#include "engine/image/image_kind.h"
#include "engine/image/image_trailer.h"
#include "engine/job/floppy_job_runner.h"
#include "engine/job/read_floppy_job.h"
#include "engine/job/write_floppy_job.h"
#include "resources/string_ids.h"
#include "tests/support/binary_data.h"
#include "tests/support/image_files.h"
#include "tests/support/job_test_host.h"
#include "tests/support/made_images.h"
#include "tests/support/simulated_floppy.h"
#include "tests/support/temp_dir.h"

namespace {

uint32_t DiskSize(uint32_t sectorsPerTrack) { return sectorsPerTrack * 512 * 2 * 80; }

// A drive that must never be used: a conversion reads none.
class UntouchedDrive final : public FloppyDeviceFactory {
public:
    FloppyDevice& DeviceFor(const char*) override {
        ++asked;
        return disk;
    }
    TargetFiles* Files() override { return &files; }
    SystemTargetFiles files{true};

    SimulatedFloppy disk{18};
    int asked = 0;
};

struct Conversion {
    TempDir dir;
    std::string program = dir.File("vorlix-program");
    TestJobHost host;
    bool compatible = false;  // of the conversion's request
    UntouchedDrive drive;
    JobOutcome outcome;

    Conversion() {
        WriteFakeProgram(program);
        host.programPath = program;
    }

    JobOutcome Run(const std::string& source, const std::string& target,
                   const char* description = "") {
        JobRequest request;
        request.kind = JobKind::Read;
        strcpy(request.imagePath, target.c_str());
        strcpy(request.sourceImagePath, source.c_str());
        strcpy(request.description, description);
        request.compatible = compatible;
        outcome = RunFloppyJob(request, host, drive);
        EXPECT_EQ(drive.asked, 0) << "a conversion asked for a drive";
        EXPECT_TRUE(drive.disk.opens().empty());
        return outcome;
    }
};

struct RoundTripCase {
    const char* from;
    const char* to;
    uint32_t sectorsPerTrack;
};

class ConversionRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

// disk -> image (read) -> check -> other kind (convert) -> check -> disk (write).
TEST_P(ConversionRoundTrip, KeepsDataAndDescriptionAndLeavesTheSource) {
    const RoundTripCase& c = GetParam();
    Conversion conversion;
    const std::string content = BinaryTestData(DiskSize(c.sectorsPerTrack), c.sectorsPerTrack + 60);
    const std::string source = conversion.dir.File(std::string("old") + c.from);
    const std::string target = conversion.dir.File(std::string("new") + c.to);
    MakeImageFile(source, c.sectorsPerTrack, content, "Boot disk", conversion.program);
    const std::string sourceHash = Sha256Of(ReadWholeFile(source));

    const JobOutcome outcome = conversion.Run(source, target);

    EXPECT_EQ(outcome.end, JobEnd::Finished);
    EXPECT_TRUE(conversion.host.sink.shown.empty());
    EXPECT_EQ(conversion.host.Outcome(), JobNotice::Finished);
    EXPECT_EQ(Sha256Of(ReadWholeFile(source)), sourceHash) << "the source changed";
    EXPECT_EQ(ImageKindOf(target.c_str()), ImageKindOf((std::string("x") + c.to).c_str()));

    CheckedImage checked;
    RecordingSink checkSink;
    ASSERT_EQ(checked.Load(target.c_str(), checkSink), 0);
    EXPECT_STREQ(checked.description, "Boot disk");
    EXPECT_EQ(checked.stored.state, TrailerChecksum::Stored);
    EXPECT_EQ(std::string(checked.computed), Sha256Of(content));
    EXPECT_EQ(checked.format->sectorsPerTrack, c.sectorsPerTrack);

    JobRequest write;
    write.kind = JobKind::Write;
    strcpy(write.imagePath, target.c_str());
    TestJobHost writeHost;
    SimulatedFloppy copy(c.sectorsPerTrack);
    WriteFloppyJob job(write, writeHost, copy);
    ASSERT_EQ(job.Run(), 0);
    EXPECT_TRUE(DiskBytes(copy) == content) << "the disk written from the new image differs";
}

// Every target kind in every format, from each source kind in turn.
INSTANTIATE_TEST_SUITE_P(
    EveryKindAndFormat, ConversionRoundTrip,
    ::testing::Values(RoundTripCase{".imz", ".img", 9}, RoundTripCase{".exe", ".imz", 9},
                      RoundTripCase{".img", ".exe", 9}, RoundTripCase{".exe", ".img", 18},
                      RoundTripCase{".img", ".imz", 18}, RoundTripCase{".imz", ".exe", 18},
                      RoundTripCase{".img", ".img", 21}, RoundTripCase{".imz", ".imz", 21},
                      RoundTripCase{".exe", ".exe", 21}),
    [](const ::testing::TestParamInfo<RoundTripCase>& param) {
        return std::string(param.param.from + 1) + "To" + std::string(param.param.to + 1) +
               std::to_string(param.param.sectorsPerTrack);
    });

TEST(ImageConversion, TheRequestsDescriptionReplacesTheSourcesAndCompatibleDropsIt) {
    Conversion conversion;
    const std::string content = BinaryTestData(DiskSize(9), 70);
    const std::string source = conversion.dir.File("old.imz");
    MakeImageFile(source, 9, content, "old text", conversion.program);

    ASSERT_EQ(conversion.Run(source, conversion.dir.File("renamed.imz"), "new text").end,
              JobEnd::Finished);
    CheckedImage renamed;
    RecordingSink sink;
    ASSERT_EQ(renamed.Load(conversion.dir.File("renamed.imz").c_str(), sink), 0);
    EXPECT_STREQ(renamed.description, "new text");

    conversion.compatible = true;
    const std::string plain = conversion.dir.File("plain.img");
    ASSERT_EQ(conversion.Run(source, plain).end, JobEnd::Finished);
    EXPECT_TRUE(ReadWholeFile(plain) == content) << "a compatible raw image is the data alone";
}

// A rescued image holds zeros where its disk gave nothing: every kind made from it says
// so in its trailer, and holds the same data.
TEST(ImageConversion, KeepsTheBadSectorCountOfARescuedImage) {
    const char* const kinds[] = {".img", ".imz", ".exe"};
    for (const char* from : kinds) {
        Conversion conversion;
        SimulatedFloppy disk(9);
        for (uint32_t s : {3u, 700u, 1439u}) disk.MakeUnreadable(s);
        const std::string source = conversion.dir.File(std::string("rescued") + from);
        JobRequest rescue;
        strcpy(rescue.imagePath, source.c_str());
        TestJobHost host;
        rescue.emergency = true;
        host.programPath = conversion.program;
        ReadFloppyJob read(rescue, host, disk);
        ASSERT_EQ(read.Run(), 0);
        CheckedImage rescued;
        RecordingSink sink;
        ASSERT_EQ(rescued.Load(source.c_str(), sink), 0);
        for (const char* to : kinds) {
            SCOPED_TRACE(std::string(from) + " to " + to);
            const std::string target = conversion.dir.File(std::string("copy") + to);
            ASSERT_EQ(conversion.Run(source, target).end, JobEnd::Finished);
            char description[kDescriptionBufferSize];
            int sectorsPerTrack = 0;
            int badSectors = 0;
            ReadImageTrailer(target.c_str(), sink, description, &sectorsPerTrack, nullptr, &badSectors);
            EXPECT_EQ(badSectors, 3);
            CheckedImage copy;
            ASSERT_EQ(copy.Load(target.c_str(), sink), 0);
            EXPECT_EQ(std::string(copy.Data(), copy.Bytes()), std::string(rescued.Data(), rescued.Bytes()));
        }
    }
}

// A source that is not good, or a target that is the source: Failed after one message,
// no file made or replaced, the source as it was.
TEST(ImageConversion, RefusedConversionsMakeNothing) {
    Conversion conversion;
    const std::string content = BinaryTestData(DiskSize(18), 71);
    const std::string good = conversion.dir.File("good.img");
    MakeImageFile(good, 18, content, "x", conversion.program);
    std::string damaged = ReadWholeFile(good);
    damaged[4096] ^= 1;
    const std::string bad = conversion.dir.File("bad.img");
    WriteWholeFile(bad, damaged);
    const std::string existing = conversion.dir.File("existing.imz");
    WriteWholeFile(existing, "keep me");

    struct Refusal {
        std::string source;
        std::string target;
        unsigned id;
    };
    std::string sameButSpelled = good;
    for (char& ch : sameButSpelled) ch = ch == '/' ? '\\' : ch;
    const size_t dot = good.rfind(".img");
    std::string upperCase = good.substr(0, dot) + ".IMG";
    const std::vector<Refusal> refusals = {
        {bad, conversion.dir.File("new.imz"), IDS_IMAGE_CHECKSUM_MISMATCH},
        {bad, existing, IDS_IMAGE_CHECKSUM_MISMATCH},
        {conversion.dir.File("missing.img"), conversion.dir.File("new.imz"), IDS_UNABLE_TO_OPEN},
        {good, good, IDS_CONVERT_ONTO_SOURCE},
        {good, upperCase, IDS_CONVERT_ONTO_SOURCE},
    };
    const std::vector<std::string> filesBefore = FileNamesIn(conversion.dir.path());
    const std::string goodBefore = ReadWholeFile(good);
    for (const Refusal& r : refusals) {
        SCOPED_TRACE(r.source + " -> " + r.target);
        conversion.host.sink.shown.clear();
        conversion.host.posts.clear();
        const JobOutcome outcome = conversion.Run(r.source, r.target);
        EXPECT_EQ(outcome.end, JobEnd::Failed);
        EXPECT_EQ(outcome.messageId, r.id);
        ASSERT_EQ(conversion.host.sink.shown.size(), 1u);
        EXPECT_EQ(conversion.host.sink.shown[0].id, r.id);
        EXPECT_EQ(conversion.host.Outcome(), JobNotice::Failed);
        EXPECT_EQ(FileNamesIn(conversion.dir.path()), filesBefore);
        EXPECT_TRUE(ReadWholeFile(good) == goodBefore);
        EXPECT_EQ(ReadWholeFile(existing), "keep me");
    }
    EXPECT_TRUE(SamePathSpelling(sameButSpelled.c_str(), good.c_str()));
    EXPECT_FALSE(SamePathSpelling(good.c_str(), (good + "x").c_str()));
    EXPECT_FALSE(SamePathSpelling("a.img", "b.img"));
}

}  // namespace
