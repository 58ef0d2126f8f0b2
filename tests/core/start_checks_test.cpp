// The checks and questions before a job, in their order, and what follows the job.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "engine/image/image_kind.h"
#include "engine/image/image_trailer.h"
#include "engine/job/image_conversion.h"
#include "engine/job/job_start.h"
#include "program/main_dialog_model.h"
#include "program/start_checks.h"
#include "resources/string_ids.h"
#include "tests/support/made_images.h"
#include "tests/support/temp_dir.h"

namespace {

// Logs, in order, every message shown ("57670?" for a question, "106!" for an error,
// "102w" for a warning), every job ("job:read") and sound ("sound:sync"); answers
// questions from a script and lets jobs end with a chosen result.
class FakeHost : public StartHost, public MessageSink {
public:
    MessageSink& Messages() override { return *this; }
    MessageTexts& Texts() override { return sourceTexts; }
    MessageAnswer Show(const UserMessage& message) override {
        const char* mark = message.style == MessageStyle::Question  ? "?"
                           : message.style == MessageStyle::Warning ? "w"
                                                                    : "!";
        log.push_back(std::to_string(message.id) + mark);
        texts.push_back(message.text ? message.text : "");
        if (message.style != MessageStyle::Question) return MessageAnswer::Ok;
        if (answers.empty()) return MessageAnswer::Yes;
        MessageAnswer answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    }
    bool FileOpensForReading(const std::string& path) override { return existing.count(path) > 0; }
    bool FileIsReadOnly(const std::string& path) override { return readOnly.count(path) > 0; }
    bool FileExists(const std::string& path) override { return FileOpensForReading(path); }
    bool SameFile(const std::string& one, const std::string& other) override {
        return SamePathSpelling(one.c_str(), other.c_str());
    }
    JobOutcome RunJob(const JobRequest& request) override {
        log.push_back(request.kind == JobKind::Read ? "job:read" : "job:write");
        lastRequest = request;
        return JobOutcome{static_cast<JobEnd>(jobResult)};
    }
    void PlayCompletionSound(bool synchronous) override {
        log.push_back(synchronous ? "sound:sync" : "sound:async");
    }

    std::vector<std::string> log;
    std::vector<std::string> texts;
    std::vector<MessageAnswer> answers;
    std::set<std::string> existing;
    std::set<std::string> readOnly;
    int jobResult = kJobFinished;
    JobRequest lastRequest;
    SourceTexts sourceTexts;
};

using Log = std::vector<std::string>;

// ---------------------------------------------------------------------------------------
// Extension checks

struct ExtensionCase {
    const char* path;
    int readable;  // result of CheckReadableExtension
    int creatable;
    bool compressed;  // after an accepting check
};

const ExtensionCase kExtensions[] = {
    {"x.imz", 0, 0, true},
    {"x.IMZ", 0, 0, true},
    {"c:\\dir\\x.Img", 0, 0, false},
    {"x.exe", -1, 0, true},
    {"X.EXE", -1, 0, true},
    {"x.img.txt", -1, -1, false},
    {"img", -1, -1, false},
    {"", -1, -1, false},
    {".imz", 0, 0, true},
    {"x.IMA", 0, 0, false},
    {"c:\\vm\\floppy.vfd", 0, 0, false},
    {"x.Flp", 0, 0, false},
    {"x.zip", 0, -1, true},
    {"x.vfd.zip.txt", -1, -1, false},
};

class ExtensionChecks : public ::testing::TestWithParam<ExtensionCase> {};

TEST_P(ExtensionChecks, AcceptOrRefuseWithTheirMessage) {
    const ExtensionCase& c = GetParam();
    for (bool before : {false, true}) {
        FakeHost host;
        JobFields fields;
        fields.compressed = before;
        EXPECT_EQ(CheckReadableExtension(c.path, fields, host), c.readable) << c.path;
        EXPECT_EQ(fields.compressed, c.readable == 0 ? c.compressed : before) << c.path;
        fields.compressed = before;
        EXPECT_EQ(CheckCreatableExtension(c.path, fields, host), c.creatable) << c.path;
        EXPECT_EQ(fields.compressed, c.creatable == 0 ? c.compressed : before) << c.path;
        Log expected;
        if (c.readable) {
            expected.push_back("57673!");
        }
        if (c.creatable) {
            expected.push_back("120!");
        }
        EXPECT_EQ(host.log, expected) << c.path;
    }
}

INSTANTIATE_TEST_SUITE_P(StartChecks, ExtensionChecks, ::testing::ValuesIn(kExtensions));

TEST(ExtensionChecks, PathsLongerThanTheJobsTakeAreRefused) {
    const std::string fits = std::string(255, 'a') + ".imz";  // 259 characters
    const std::string tooLong = std::string(256, 'a') + ".imz";
    FakeHost host;
    JobFields fields;
    EXPECT_EQ(CheckReadableExtension(fits, fields, host), 0);
    EXPECT_EQ(CheckCreatableExtension(fits, fields, host), 0);
    EXPECT_TRUE(host.log.empty());
    fields.compressed = false;
    EXPECT_EQ(CheckReadableExtension(tooLong, fields, host), -1);
    EXPECT_EQ(CheckCreatableExtension(tooLong + std::string(5000, 'b') + ".imz", fields, host), -1);
    EXPECT_FALSE(fields.compressed);
    EXPECT_EQ(host.log, (Log{"106!", "105!"}));
    EXPECT_EQ(host.texts[0], tooLong);
}

TEST(CheckImageOpens, NamesTheFileItCannotOpen) {
    FakeHost host;
    host.existing = {"here.imz"};
    EXPECT_EQ(CheckImageOpens("here.imz", host), 0);
    EXPECT_EQ(CheckImageOpens("gone.imz", host), -1);
    EXPECT_EQ(host.log, (Log{"106!"}));
    EXPECT_EQ(host.texts, (std::vector<std::string>{"gone.imz"}));
}

// ---------------------------------------------------------------------------------------
// The start operations: every check in order, with its settings and answers

struct StartRow {
    const char* name;
    JobKind kind;
    const char* path;
    Settings settings;
    bool exists;
    bool readOnly;
    std::vector<MessageAnswer> answers;
    int jobResult;
    bool commandLineMode;
    Log log;
    int result;
};

Settings With(uint32_t suppress, uint32_t compatible, uint32_t emergency, uint32_t sound) {
    Settings settings;
    settings.Suppress = suppress;
    settings.Compatible = compatible;
    settings.Emergency = emergency;
    settings.Sound = sound;
    return settings;
}

const MessageAnswer Yes = MessageAnswer::Yes;
const MessageAnswer No = MessageAnswer::No;

const StartRow kStarts[] = {
    // Writing
    {"WriteAsks", JobKind::Write, "c:\\x.imz", With(0, 0, 0, 0), true, false, {}, kJobFinished, false,
     {"57670?", "job:write"}, kJobFinished},
    {"WriteNo", JobKind::Write, "c:\\x.imz", With(0, 0, 0, 1), true, false, {No}, kJobFinished, false,
     {"57670?"}, -1},
    {"WriteSuppressed", JobKind::Write, "c:\\x.imz", With(1, 0, 0, 0), true, false, {}, kJobFinished, false,
     {"job:write"}, kJobFinished},
    {"WriteFromFloppyA", JobKind::Write, "a:\\x.imz", With(1, 0, 0, 0), true, false, {}, kJobFinished, false,
     {"57672!"}, -1},
    {"WriteFromFloppyB", JobKind::Write, "B:x.img", With(0, 0, 0, 0), true, false, {}, kJobFinished, false,
     {"57672!"}, -1},
    {"WriteColonLater", JobKind::Write, "c:\\a:x.img", With(1, 0, 0, 0), true, false, {}, kJobFinished, false,
     {"job:write"}, kJobFinished},
    {"WriteSoundAsync", JobKind::Write, "c:\\x.imz", With(1, 0, 0, 1), true, false, {}, kJobFinished, false,
     {"job:write", "sound:async"}, kJobFinished},
    {"WriteSoundSyncOnCommandLine", JobKind::Write, "c:\\x.imz", With(1, 0, 0, 1), true, false, {},
     kJobFinished, true, {"job:write", "sound:sync"}, kJobFinished},
    {"WriteCancelledNoSound", JobKind::Write, "c:\\x.imz", With(1, 0, 0, 1), true, false, {}, kJobCancelled,
     false, {"job:write", "102w"}, kJobCancelled},
    {"WriteFailedNothingMore", JobKind::Write, "c:\\x.imz", With(1, 0, 0, 1), true, false, {}, kJobFailed,
     false, {"job:write"}, kJobFailed},
    // Reading
    {"ReadNewTarget", JobKind::Read, "c:\\x.imz", With(0, 0, 0, 0), false, false, {}, kJobFinished, false,
     {"job:read"}, kJobFinished},
    {"ReadOntoFloppyA", JobKind::Read, "a:\\disk.img", With(0, 0, 0, 0), false, false, {}, kJobFinished,
     false, {"57671!"}, -1},
    {"ReadOntoFloppyB", JobKind::Read, "b:\\disk.img", With(0, 1, 1, 0), false, false, {}, kJobFinished,
     false, {"57671!"}, -1},
    {"ReadColonLater", JobKind::Read, "c:\\a:x.img", With(0, 0, 0, 0), false, false, {}, kJobFinished,
     false, {"job:read"}, kJobFinished},
    {"ReadCompatibleImgAsks", JobKind::Read, "c:\\x.img", With(0, 1, 0, 0), false, false, {}, kJobFinished,
     false, {"57680?", "job:read"}, kJobFinished},
    {"ReadCompatibleImgNo", JobKind::Read, "c:\\x.IMG", With(0, 1, 0, 0), false, false, {No}, kJobFinished,
     false, {"57680?"}, -1},
    {"ReadCompatibleImzDoesNotAsk", JobKind::Read, "c:\\x.imz", With(0, 1, 0, 0), false, false, {},
     kJobFinished, false, {"job:read"}, kJobFinished},
    {"ReadCompatibleSuppressed", JobKind::Read, "c:\\x.img", With(1, 1, 0, 0), false, false, {},
     kJobFinished, false, {"job:read"}, kJobFinished},
    // Other programs' raw names never take a trailer: compatible mode has nothing to leave out.
    {"ReadCompatibleImaDoesNotAsk", JobKind::Read, "c:\\x.ima", With(0, 1, 0, 0), false, false, {},
     kJobFinished, false, {"job:read"}, kJobFinished},
    {"ReadCompatibleVfdDoesNotAsk", JobKind::Read, "c:\\x.VFD", With(0, 1, 0, 0), false, false, {},
     kJobFinished, false, {"job:read"}, kJobFinished},
    {"ReadEmergencyFlp", JobKind::Read, "c:\\x.flp", With(0, 0, 1, 0), false, false, {}, kJobFinished,
     false, {"job:read"}, kJobFinished},
    {"ReadEmergencyExeEvenSuppressed", JobKind::Read, "c:\\x.exe", With(1, 0, 1, 0), false, false, {},
     kJobFinished, false, {"57678!"}, -1},
    {"ReadEmergencyImz", JobKind::Read, "c:\\x.imz", With(0, 0, 1, 0), false, false, {}, kJobFinished,
     false, {"57678!"}, -1},
    {"ReadEmergencyImg", JobKind::Read, "c:\\x.img", With(0, 0, 1, 0), false, false, {}, kJobFinished,
     false, {"job:read"}, kJobFinished},
    {"ReadCompatibleThenEmergency", JobKind::Read, "c:\\x.img", With(0, 1, 1, 0), true, false, {Yes, No},
     kJobFinished, false, {"57680?", "103?"}, -1},
    {"ReadExistingAsks", JobKind::Read, "c:\\x.imz", With(0, 0, 0, 0), true, false, {}, kJobFinished, false,
     {"103?", "job:read"}, kJobFinished},
    {"ReadExistingAsksEvenSuppressed", JobKind::Read, "c:\\x.imz", With(1, 0, 0, 0), true, false, {No},
     kJobFinished, false, {"103?"}, -1},
    {"ReadReadOnlyNeverAsks", JobKind::Read, "c:\\x.imz", With(0, 0, 0, 0), true, true, {}, kJobFinished,
     false, {"123!"}, -1},
    {"ReadSoundAsync", JobKind::Read, "c:\\x.imz", With(0, 0, 0, 1), false, false, {}, kJobFinished, false,
     {"job:read", "sound:async"}, kJobFinished},
    {"ReadSoundSyncOnCommandLine", JobKind::Read, "c:\\x.imz", With(0, 0, 0, 1), false, false, {},
     kJobFinished, true, {"job:read", "sound:sync"}, kJobFinished},
    {"ReadCancelled", JobKind::Read, "c:\\x.imz", With(0, 0, 0, 1), false, false, {}, kJobCancelled, false,
     {"job:read", "102w"}, kJobCancelled},
    {"ReadFailed", JobKind::Read, "c:\\x.imz", With(0, 0, 0, 1), false, false, {}, kJobFailed, false,
     {"job:read"}, kJobFailed},
};

class StartOperations : public ::testing::TestWithParam<StartRow> {};

TEST_P(StartOperations, RunTheirChecksInOrder) {
    const StartRow& c = GetParam();
    FakeHost host;
    host.answers = c.answers;
    host.jobResult = c.jobResult;
    if (c.exists) host.existing.insert(c.path);
    if (c.readOnly) host.readOnly.insert(c.path);
    JobFields fields;
    fields.commandLineMode = c.commandLineMode;
    fields.description = "from /d";
    int result;
    if (c.kind == JobKind::Write) {
        fields.writeImagePath = c.path;
        result = StartWrite(fields, StartChoicesOf(c.settings), host);
    } else {
        fields.readImagePath = c.path;
        result = StartRead(fields, "typed", StartChoicesOf(c.settings), host);
    }
    EXPECT_EQ(host.log, c.log);
    EXPECT_EQ(result, c.result);
    for (size_t i = 0; i < host.log.size(); ++i) {
        if (host.log[i] == "123!" || host.log[i] == "103?") {
            EXPECT_EQ(host.texts[i], c.path);
        }
    }
}

std::string RowName(const ::testing::TestParamInfo<StartRow>& row) {
    return row.param.name;
}

INSTANTIATE_TEST_SUITE_P(StartChecks, StartOperations, ::testing::ValuesIn(kStarts), RowName);

TEST(StartRead, TakesTheDescriptionFromTheEditUnlessOnTheCommandLine) {
    FakeHost host;
    Settings settings;
    JobFields fields;
    fields.readImagePath = "c:\\x.imz";
    fields.description = "old";
    StartRead(fields, "Enter description here", StartChoicesOf(settings), host);
    EXPECT_EQ(fields.description, "Enter description here");

    fields.commandLineMode = true;
    fields.description = "from /d";
    StartRead(fields, "typed", StartChoicesOf(settings), host);
    EXPECT_EQ(fields.description, "from /d");
}

TEST(StartRead, RefusedChecksKeepTheDescription) {
    FakeHost host;
    host.answers = {No};
    host.existing = {"c:\\x.imz"};
    JobFields fields;
    fields.readImagePath = "c:\\x.imz";
    fields.description = "kept";
    EXPECT_EQ(StartRead(fields, "typed", StartChoicesOf(Settings()), host), -1);
    EXPECT_EQ(fields.description, "kept");
}

// ---------------------------------------------------------------------------------------
// The model: images chosen through the panels and the command line

class ModelTest : public ::testing::Test {
protected:
    std::string Image(const std::string& name, const char* description, int sectorsPerTrack) {
        std::string path = dir.File(name);
        WriteWholeFile(path, std::string(10240, 'x'));
        if (description) {
            EXPECT_EQ(AppendImageTrailer(path.c_str(), description, sectorsPerTrack), 0);
        }
        host.existing.insert(path);
        return path;
    }

    TempDir dir;
    FakeHost host;
    Settings settings;
    MainDialogModel model{settings, host};
};

TEST_F(ModelTest, AcceptImageToWriteShowsItsDescription) {
    std::string path = Image("disk.imz", "Boot disk", 18);
    ASSERT_EQ(model.AcceptImageToWrite(path), 0);
    EXPECT_EQ(model.fields.writeImagePath, path);
    EXPECT_TRUE(model.fields.compressed);
    EXPECT_EQ(model.panels.writePath.text, path);
    EXPECT_TRUE(model.panels.writeDescription.visible);
    EXPECT_EQ(model.panels.writeDescription.text, "Boot disk");
}

// The Write Floppy panel names the format from one look at the file: the trailer's
// numbers, else a raw image's length; a compressed stream is never decoded for it.
TEST_F(ModelTest, WritePanelNamesTheFormatTheFileShows) {
    struct Case {
        const char* name;
        size_t bytes;
        int sectorsPerTrack;  // 0: no trailer
        const char* format;
    };
    const Case cases[] = {
        {"old.ima", 368640, 0, "360 kB, 5.25-inch double density"},
        {"boot.VFD", 2949120, 0, "2880 kB, 3.5-inch extra-high density"},
        {"dos.img", 737280, 9, "720 kB, 3.5-inch double density"},
        {"odd.flp", 10240, 0, ""},
        {"disk.imz", 10240, 18, "1440 kB, 3.5-inch high density"},
        {"bare.imz", 1474560, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.File(c.name);
        WriteWholeFile(path, std::string(c.bytes, 'x'));
        if (c.sectorsPerTrack != 0) {
            ASSERT_EQ(AppendImageTrailer(path.c_str(), "", c.sectorsPerTrack), 0);
        }
        ASSERT_EQ(model.AcceptImageToWrite(path), 0);
        EXPECT_EQ(model.panels.writeFormat.text, c.format);
    }
    ASSERT_EQ(model.AcceptReadTarget(dir.File("new.img")), 0);
    EXPECT_EQ(model.panels.writeFormat.text, "");
}

TEST_F(ModelTest, ImageWithoutTrailerCanStillBeWritten) {
    std::string first = Image("first.imz", "First", 21);
    std::string bare = Image("bare.img", nullptr, 0);
    ASSERT_EQ(model.AcceptImageToWrite(first), 0);
    ASSERT_EQ(model.AcceptImageToWrite(bare), 0);
    EXPECT_FALSE(model.fields.compressed);
    EXPECT_TRUE(model.panels.writeStart.enabled);
    EXPECT_FALSE(model.panels.writeDescription.visible);
}

TEST_F(ModelTest, RefusedImageChangesNothing) {
    std::string path = Image("disk.imz", "Boot disk", 18);
    ASSERT_EQ(model.AcceptImageToWrite(path), 0);
    EXPECT_EQ(model.AcceptImageToWrite(dir.File("self.exe")), -1);
    EXPECT_EQ(model.AcceptImageToWrite(dir.File("file.txt")), -1);
    EXPECT_EQ(host.log, (Log{"57673!", "57673!"}));
    EXPECT_EQ(model.fields.writeImagePath, path);
    EXPECT_TRUE(model.fields.compressed);
    EXPECT_EQ(model.panels.writeDescription.text, "Boot disk");
    // Start still writes the image loaded before.
    settings.Suppress = 1;
    EXPECT_EQ(model.StartWrite(), kJobFinished);
}

TEST_F(ModelTest, ReadTargetSetsTheFilterForNextTime) {
    EXPECT_EQ(model.AcceptReadTarget("c:\\x.exe"), 0);
    EXPECT_EQ(model.saveFilterIndex, 3);
    EXPECT_EQ(model.AcceptReadTarget("c:\\x.txt"), -1);
    EXPECT_EQ(model.saveFilterIndex, 3);
    EXPECT_EQ(model.fields.readImagePath, "c:\\x.exe");
    EXPECT_EQ(model.AcceptReadTarget("c:\\x.img"), 0);
    EXPECT_EQ(model.saveFilterIndex, 2);
    EXPECT_FALSE(model.fields.compressed);
}

// The save dialog's first three filters keep their numbers; other programs' raw names
// follow them. A ZIP archive is never a target and leaves the filter as it was.
TEST_F(ModelTest, ReadTargetOfAnotherProgramsNameSetsItsOwnFilter) {
    const std::pair<const char*, int> targets[] = {
        {"c:\\x.IMA", 4}, {"c:\\x.vfd", 5}, {"c:\\x.flp", 6}, {"c:\\x.zip", 6},
        {"c:\\x.imz", 1}, {"c:\\x.img", 2}, {"c:\\x.exe", 3},
    };
    for (const auto& target : targets) {
        EXPECT_EQ(model.AcceptReadTarget(target.first), HasExtension(target.first, ".zip") ? -1 : 0);
        EXPECT_EQ(model.saveFilterIndex, target.second) << target.first;
    }
    EXPECT_EQ(host.log, (Log{"120!"}));
}

TEST_F(ModelTest, OpenImageArgumentNeedsAnImageThatOpens) {
    EXPECT_EQ(model.OpenImageArgument(dir.File("missing.imz")), -1);
    EXPECT_EQ(model.OpenImageArgument(dir.File("x.exe")), -1);
    EXPECT_EQ(host.log, (Log{"106!", "57673!"}));
    EXPECT_EQ(model.panels.active(), PanelState::Active::None);
    std::string path = Image("disk.img", "Sample", 18);
    EXPECT_EQ(model.OpenImageArgument(path), 0);
    EXPECT_EQ(model.panels.writePath.text, path);
    EXPECT_EQ(model.panels.writeDescription.text, "Sample");
    EXPECT_EQ(host.log.size(), 2u);  // no job
}

CommandLineRequest Request(CommandLineJob job, const std::string& image, const std::string& description) {
    CommandLineRequest request;
    request.startCase = StartCase::CommandLineMode;
    request.job = job;
    request.imagePath = image;
    request.description = description;
    return request;
}

TEST_F(ModelTest, CommandLineWrite) {
    std::string path = Image("disk.imz", "Boot disk", 21);
    settings.Suppress = 1;
    settings.Sound = 0;
    EXPECT_EQ(model.RunCommandLine(Request(CommandLineJob::Write, path, "")), 0);
    EXPECT_EQ(host.log, (Log{"job:write"}));
    EXPECT_EQ(model.fields.writeImagePath, path);
    EXPECT_TRUE(model.fields.compressed);
}

TEST_F(ModelTest, CommandLineReadKeepsTheSwitchDescription) {
    settings.Sound = 1;
    std::string target = dir.File("new.imz");
    EXPECT_EQ(model.RunCommandLine(Request(CommandLineJob::Read, target, "Sample disk")), 0);
    EXPECT_EQ(host.log, (Log{"job:read", "sound:sync"}));
    EXPECT_EQ(model.fields.description, "Sample disk");
    EXPECT_EQ(model.fields.readImagePath, target);
}

// The exit status of an unattended run: the job's end, or 1 where a check or a question
// stopped it before the job.
TEST_F(ModelTest, CommandLineResultIsTheExitStatus) {
    struct Row {
        const char* name;
        CommandLineJob job;
        const char* image;  // in the test's folder; "a:" names one on the floppy
        bool exists;
        int suppress, compatible, emergency;
        std::vector<MessageAnswer> answers;
        int jobResult;
        int status;
        Log log;
    };
    const Row rows[] = {
        {"ReadFinished", CommandLineJob::Read, "n.img", false, 1, 0, 0, {}, kJobFinished, 0, {"job:read"}},
        {"ReadFailed", CommandLineJob::Read, "n.img", false, 1, 0, 0, {}, kJobFailed, 1, {"job:read"}},
        {"ReadCancelled", CommandLineJob::Read, "n.img", false, 1, 0, 0, {}, kJobCancelled, 2, {"job:read", "102w"}},
        {"ReplaceAnsweredNo", CommandLineJob::Read, "old.img", true, 1, 0, 0, {No}, kJobFinished, 1, {"103?"}},
        {"CompatibleAnsweredNo", CommandLineJob::Read, "n.img", false, 0, 1, 0, {No}, kJobFinished, 1, {"57680?"}},
        {"EmergencyToCompressed", CommandLineJob::Read, "n.imz", false, 1, 0, 1, {}, kJobFinished, 1, {"57678!"}},
        {"ReadOntoTheFloppy", CommandLineJob::Read, "a:", false, 1, 0, 0, {}, kJobFinished, 1, {"57671!"}},
        {"WriteFinished", CommandLineJob::Write, "w.img", true, 1, 0, 0, {}, kJobFinished, 0, {"job:write"}},
        {"WriteFailed", CommandLineJob::Write, "w.img", true, 1, 0, 0, {}, kJobFailed, 1, {"job:write"}},
        {"WriteCancelled", CommandLineJob::Write, "w.img", true, 1, 0, 0, {}, kJobCancelled, 2, {"job:write", "102w"}},
        {"OverwriteAnsweredNo", CommandLineJob::Write, "w.img", true, 0, 0, 0, {No}, kJobFinished, 1, {"57670?"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FakeHost rowHost;
        Settings rowSettings;
        rowSettings.Suppress = row.suppress;
        rowSettings.Compatible = row.compatible;
        rowSettings.Emergency = row.emergency;
        rowSettings.Sound = 0;
        MainDialogModel rowModel{rowSettings, rowHost};
        std::string path = std::string(row.image) == "a:" ? "a:\\x.img" : dir.File(row.image);
        if (row.exists) {
            WriteWholeFile(path, std::string(10240, 'x'));
            rowHost.existing.insert(path);
        }
        rowHost.answers = row.answers;
        rowHost.jobResult = row.jobResult;
        EXPECT_EQ(rowModel.RunCommandLine(Request(row.job, path, "")), row.status);
        EXPECT_EQ(rowHost.log, row.log);
    }
}

TEST_F(ModelTest, CommandLineRefusesBadImages) {
    EXPECT_EQ(model.RunCommandLine(Request(CommandLineJob::Write, dir.File("x.exe"), "")), -1);
    EXPECT_EQ(model.RunCommandLine(Request(CommandLineJob::Write, dir.File("none.img"), "")), -1);
    EXPECT_EQ(model.RunCommandLine(Request(CommandLineJob::Read, dir.File("x.txt"), "")), -1);
    EXPECT_EQ(model.RunCommandLine(Request(CommandLineJob::Read, std::string(300, 'x') + ".img", "")), -1);
    EXPECT_EQ(host.log, (Log{"57673!", "106!", "120!", "105!"}));
    EXPECT_EQ(model.RunCommandLine(Request(CommandLineJob::None, "", "")), 1);
}

// A conversion reads no drive: its target may be on a floppy and emergency mode does
// not limit its kind; the source reaches the request, and the next read reads the drive.
TEST_F(ModelTest, ConversionSkipsTheDriveChecksAndForgetsItsSource) {
    settings.Suppress = 1;
    settings.Sound = 0;
    settings.Emergency = 1;
    const std::string source = Image("old.img", "Old", 18);
    model.fields.readImagePath = "a:\\new.imz";
    model.fields.compressed = true;
    model.panels.readDescription.text = "";

    EXPECT_EQ(model.ConvertImage(source), kJobFinished);
    EXPECT_EQ(host.log, (Log{"job:read"}));
    EXPECT_STREQ(host.lastRequest.sourceImagePath, source.c_str());
    EXPECT_FALSE(ImageKindOf(host.lastRequest.sourceImagePath) != ImageKind::Raw);
    EXPECT_STREQ(host.lastRequest.description, "");
    EXPECT_TRUE(model.fields.sourceImagePath.empty());

    // Onto its own source: refused before the replace question, whatever the spelling.
    host.log.clear();
    model.fields.readImagePath = source.substr(0, source.size() - 4) + ".IMG";
    host.existing.insert(model.fields.readImagePath);
    EXPECT_EQ(model.ConvertImage(source), -1);
    EXPECT_EQ(host.log, (Log{std::to_string(IDS_CONVERT_ONTO_SOURCE) + "!"}));
    model.fields.readImagePath = "a:\\new.imz";

    host.log.clear();
    EXPECT_EQ(model.StartRead(), -1) << "a read of the drive onto the floppy is refused";
    EXPECT_EQ(host.log, (Log{std::to_string(IDS_CANNOT_SAVE_TO_SOURCE_FLOPPY) + "!"}));
}

TEST_F(ModelTest, CommandLineConversionAndCheck) {
    settings.Suppress = 1;
    settings.Sound = 0;
    CommandLineRequest convert = Request(CommandLineJob::Read, dir.File("new.exe"), "");
    convert.sourceImage = dir.File("old.imz");
    EXPECT_EQ(model.RunCommandLine(convert), 0);
    EXPECT_STREQ(host.lastRequest.sourceImagePath, convert.sourceImage.c_str());
    EXPECT_TRUE(ImageKindOf(host.lastRequest.sourceImagePath) != ImageKind::Raw);
    EXPECT_STREQ(host.lastRequest.imagePath, convert.imagePath.c_str());

    // The check runs no job; its one message is the result.
    host.log.clear();
    const std::string good = dir.File("good.img");
    WriteWholeFile(good, std::string(737280, 'g'));
    EXPECT_EQ(model.RunCommandLine(Request(CommandLineJob::Check, good, "")), 0);
    EXPECT_EQ(model.RunCommandLine(Request(CommandLineJob::Check, Image("short.img", "s", 9), "")), 1);
    EXPECT_EQ(host.log, (Log{std::to_string(IDS_IMAGE_CHECK_REPORT) + "!",
                             std::to_string(IDS_IMAGE_NOT_WHOLE_DISK) + "!"}));
}

}  // namespace
