// The question before an emergency read onto an image whose map lists lost sectors.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "app/settings.h"
#include "engine/job/image_conversion.h"
#include "engine/job/job_start.h"
#include "engine/job/read_floppy_job.h"
#include "resources/string_ids.h"
#include "tests/support/image_files.h"
#include "tests/support/job_test_host.h"
#include "tests/support/made_images.h"
#include "tests/support/simulated_floppy.h"
#include "tests/support/temp_dir.h"

namespace {

using ::testing::ElementsAre;

class QuestionHost : public StartHost, public MessageSink {
public:
    MessageSink& Messages() override { return *this; }
    MessageAnswer Show(const UserMessage& message) override {
        shown.push_back(message.id);
        texts.push_back(message.text ? message.text : "");
        numbers.push_back(message.number);
        if (message.style != MessageStyle::Question || answers.empty()) return MessageAnswer::Yes;
        const MessageAnswer answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    }
    bool FileOpensForReading(const std::string&) override { return true; }
    bool FileIsReadOnly(const std::string&) override { return false; }
    bool FileExists(const std::string& path) override { return FileOpensForReading(path); }
    bool SameFile(const std::string& one, const std::string& other) override {
        return SamePathSpelling(one.c_str(), other.c_str());
    }
    JobOutcome RunJob(const JobRequest& request) override {
        jobs.push_back(request.rereadMappedSectors ? "reread" : "fresh");
        retries = request.retries;
        return JobOutcome{JobEnd::Finished};
    }
    void PlayCompletionSound(bool) override {}
    MessageTexts& Texts() override { return sourceTexts; }

    SourceTexts sourceTexts;
    std::vector<unsigned> shown;
    std::vector<std::string> texts;
    std::vector<long> numbers;
    std::vector<MessageAnswer> answers;
    std::vector<std::string> jobs;
    uint32_t retries = 0;
};

constexpr char kTwoLost[] =
    "0x00000000  +  1\n0x00000000  0x00000400  +\n0x00000400  0x00000400  -\n";

struct Case {
    const char* name;
    const char* image;
    const char* map;  // nullptr: none
    bool emergency;
    bool suppress;
    std::vector<MessageAnswer> answers;
    std::vector<unsigned> asked;
    const char* job;  // nullptr: none ran
};

class RereadQuestion : public ::testing::TestWithParam<Case> {};

TEST_P(RereadQuestion, IsAskedOnlyWhereAMapListsLostSectors) {
    const Case& c = GetParam();
    TempDir dir;
    const std::string image = dir.File(c.image);
    WriteWholeFile(image, "earlier image");
    if (c.map != nullptr) WriteWholeFile(image + ".map", c.map);
    Settings settings;
    settings.Emergency = c.emergency;
    settings.Suppress = c.suppress;
    settings.Retries = 7;
    JobFields fields;
    fields.readImagePath = image;
    fields.rereadMappedSectors = true;  // left from an earlier start: must not carry over
    QuestionHost host;
    host.answers = c.answers;

    StartRead(fields, "", StartChoicesOf(settings), host);

    EXPECT_EQ(host.shown, c.asked);
    if (!c.asked.empty() && c.asked[0] == IDS_ASK_REREAD_BAD_SECTORS) {
        EXPECT_EQ(host.texts[0], image + ".map");
        EXPECT_EQ(host.numbers[0], 2);
    }
    if (c.job == nullptr) {
        EXPECT_TRUE(host.jobs.empty());
    } else {
        EXPECT_THAT(host.jobs, ElementsAre(c.job));
        EXPECT_EQ(host.retries, 7u);
    }
}

constexpr unsigned kAsk = IDS_ASK_REREAD_BAD_SECTORS;
constexpr unsigned kReplace = IDS_ASK_REPLACE_EXISTING;
const MessageAnswer kYes = MessageAnswer::Yes;
const MessageAnswer kNo = MessageAnswer::No;

INSTANTIATE_TEST_SUITE_P(
    Cases, RereadQuestion,
    ::testing::Values(
        Case{"YesReadsOnlyThose", "old.img", kTwoLost, true, false, {kYes}, {kAsk}, "reread"},
        Case{"NoIsAFreshReadAfterTheUsualQuestion", "old.img", kTwoLost, true, false, {kNo, kYes},
             {kAsk, kReplace}, "fresh"},
        Case{"NoThenNoReadsNothing", "old.img", kTwoLost, true, false, {kNo, kNo}, {kAsk, kReplace},
             nullptr},
        Case{"SuppressedMeansYes", "old.img", kTwoLost, true, true, {}, {}, "reread"},
        Case{"NotInEmergencyMode", "old.img", kTwoLost, false, false, {kYes}, {kReplace}, "fresh"},
        Case{"NoMap", "old.img", nullptr, true, false, {kYes}, {kReplace}, "fresh"},
        Case{"MapWithNothingLost", "old.img", "0x0  +  1\n0x00000000  0x00000400  +\n", true, false,
             {kYes}, {kReplace}, "fresh"},
        Case{"DamagedMap", "old.img", "not a map\n", true, false, {kYes}, {kReplace}, "fresh"}),
    [](const ::testing::TestParamInfo<Case>& p) { return std::string(p.param.name); });

// Suppress answers the question, never the check that follows it: the job still refuses
// to merge another disk's sectors, and the start reports the failure.
TEST(RereadQuestion, SuppressedRereadOfAnotherDiskChangesNothing) {
    TempDir dir;
    const std::string image = dir.File("old.img");
    JobRequest first;
    strcpy(first.imagePath, image.c_str());
    TestJobHost jobHost;
    first.emergency = true;
    SimulatedFloppy diskA(18);
    diskA.MakeUnreadable(70);
    ASSERT_EQ(ReadFloppyJob(first, jobHost, diskA).Run(), 0);
    const std::string before = ReadWholeFile(image);
    const std::string map = ReadWholeFile(image + ".map");

    struct DriveHost final : QuestionHost {
        JobOutcome RunJob(const JobRequest& request) override {
            QuestionHost::RunJob(request);
            SimulatedFloppy diskB(18);
            diskB.disk()[0] ^= 1;  // another disk: its boot sector differs
            ReadFloppyJob job(request, jobHost, diskB);
            job.Run();
            return job.Outcome();
        }
        TestJobHost jobHost;
    } host;
    Settings settings;
    settings.Emergency = true;
    settings.Suppress = true;
    JobFields fields;
    fields.readImagePath = image;

    EXPECT_EQ(StartRead(fields, "", StartChoicesOf(settings), host), static_cast<int>(JobEnd::Failed));

    EXPECT_THAT(host.jobs, ElementsAre("reread"));
    EXPECT_EQ(host.jobHost.sink.Ids(), std::vector<unsigned>{IDS_NOT_THE_SAME_DISK});
    EXPECT_TRUE(ReadWholeFile(image) == before);
    EXPECT_EQ(ReadWholeFile(image + ".map"), map);
}

}  // namespace
