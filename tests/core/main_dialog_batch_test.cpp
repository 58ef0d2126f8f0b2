// The Windows program's batch, without its windows: the model reads disk after disk
// through a host whose jobs make real images, and leaves a log beside each and a manifest
// that lists them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "program/main_dialog_model.h"
#include "resources/string_ids.h"
#include "tests/support/made_images.h"
#include "tests/support/temp_dir.h"

namespace {

// Each read job makes a 1440 kB raw image of the next disk or ends as `ends` says.
class ImagingHost : public StartHost, public MessageSink {
public:
    MessageSink& Messages() override { return *this; }
    MessageTexts& Texts() override { return texts; }
    MessageAnswer Show(const UserMessage& message) override {
        shown.push_back(std::to_string(message.id) + (AsksForAnswer(message.style) ? "?" : "!"));
        if (!AsksForAnswer(message.style)) return MessageAnswer::Ok;
        const MessageAnswer answer = answers.empty() ? MessageAnswer::No : answers.front();
        if (!answers.empty()) answers.erase(answers.begin());
        return answer;
    }
    bool FileOpensForReading(const std::string& path) override { return FileExists(path); }
    bool FileIsReadOnly(const std::string&) override { return false; }
    bool FileExists(const std::string& path) override { return ::FileExists(path); }
    bool SameFile(const std::string& one, const std::string& other) override { return one == other; }
    JobOutcome RunJob(const JobRequest& request) override {
        const JobEnd end = ends.empty() ? JobEnd::Finished : ends.front();
        if (!ends.empty()) ends.erase(ends.begin());
        if (end == JobEnd::Finished) WriteWholeFile(request.imagePath, std::string(1474560, 'a' + jobs % 26));
        descriptions.push_back(request.description);
        ++jobs;
        return JobOutcome{end};
    }
    void PlayCompletionSound(bool) override {}

    std::vector<std::string> shown;
    std::vector<MessageAnswer> answers;
    std::vector<JobEnd> ends;
    std::vector<std::string> descriptions;
    int jobs = 0;
    SourceTexts texts;
};

TEST(MainDialogBatch, ReadsSkipsTakenNamesOffersAFailedDiskAgainAndKeepsPapers) {
    TempDir dir;
    ImagingHost host;
    Settings settings;
    MainDialogModel model{settings, host};
    model.fields.commandLineMode = true;
    WriteWholeFile(dir.File("box-02.img"), "kept");
    host.ends = {JobEnd::Finished, JobEnd::Failed, JobEnd::Finished};
    host.answers = {MessageAnswer::Yes, MessageAnswer::Yes, MessageAnswer::No};

    EXPECT_EQ(model.StartBatch(dir.File("box-##.img"), "Box 4, disk ##"), 1);

    using ::testing::ElementsAre;
    EXPECT_THAT(host.shown, ElementsAre(std::to_string(IDS_BATCH_NEXT_DISK) + "?",
                                        std::to_string(IDS_BATCH_NAME_TAKEN) + "!",
                                        std::to_string(IDS_BATCH_DISK_FAILED) + "?",
                                        std::to_string(IDS_BATCH_NEXT_DISK) + "?"));
    EXPECT_THAT(host.descriptions, ElementsAre("Box 4, disk 01", "Box 4, disk 03", "Box 4, disk 03"));
    EXPECT_EQ(ReadWholeFile(dir.File("box-02.img")), "kept");
    EXPECT_THAT(FileNamesIn(dir.path()), ElementsAre("box-01.img", "box-01.img.log", "box-02.img", "box-03.img",
                                                     "box-03.img.log", "manifest.txt"));
    const std::string manifest = ReadWholeFile(dir.File("manifest.txt"));
    EXPECT_THAT(manifest, ::testing::StartsWith("%%%% HASHDEEP-1.0\n"));
    EXPECT_THAT(manifest, ::testing::HasSubstr("1474560,"));
    EXPECT_THAT(manifest, ::testing::HasSubstr(",box-03.img.log\n"));
    EXPECT_THAT(ReadWholeFile(dir.File("box-03.img.log")), ::testing::HasSubstr("Description: Box 4, disk 03\n"));

    EXPECT_EQ(model.StartBatch(dir.File("box.img"), ""), -1);
    EXPECT_EQ(host.shown.back(), std::to_string(IDS_BATCH_NEEDS_NUMBER) + "!");
}

TEST(MainDialogBatch, WriteLogSettingPutsALogBesideASingleRead) {
    TempDir dir;
    ImagingHost host;
    Settings settings;
    MainDialogModel model{settings, host};
    model.fields.readImagePath = dir.File("one.img");
    EXPECT_EQ(model.StartRead(), 0);
    EXPECT_FALSE(FileExists(dir.File("one.img.log")));
    settings.WriteLog = 1;
    model.fields.readImagePath = dir.File("two.img");
    EXPECT_EQ(model.StartRead(), 0);
    EXPECT_THAT(ReadWholeFile(dir.File("two.img.log")), ::testing::HasSubstr("Device: A:\n"));
}

}  // namespace
