#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string.h>

#include "tests/support/command_line_split.h"

namespace {

using Words = std::vector<std::string>;

// ---------------------------------------------------------------------------------------
// The split

struct SplitCase {
    const char* commandLine;
    Words words;
};

const SplitCase kSplits[] = {
    {"x.exe", {"x.exe"}},
    {"", {""}},
    {R"("C:\Program Files\Vorlix\vorlix.exe" /w "C:\My Disks\boot disk.imz")",
     {R"(C:\Program Files\Vorlix\vorlix.exe)", "/w", R"(C:\My Disks\boot disk.imz)"}},
    // Blanks: any run of spaces and tabs separates, trailing ones make no word.
    {"x.exe\t/w\t\ta.img", {"x.exe", "/w", "a.img"}},
    {"x.exe   /r   a.img   ", {"x.exe", "/r", "a.img"}},
    {"x.exe /s\t ", {"x.exe", "/s"}},
    // An empty quoted word is a word.
    {R"(x.exe "")", {"x.exe", ""}},
    {R"(x.exe /d "" /r a.img)", {"x.exe", "/d", "", "/r", "a.img"}},
    // Quotes anywhere in a word group and vanish.
    {R"(x.exe a"b c"d)", {"x.exe", "ab cd"}},
    {R"(x.exe "a b)", {"x.exe", "a b"}},
    // Backslashes: plain unless they stand before a quote.
    {R"(x.exe C:\dir\a.img \\server\share\b.imz)", {"x.exe", R"(C:\dir\a.img)", R"(\\server\share\b.imz)"}},
    {R"(x.exe "C:\dir\\" next)", {"x.exe", R"(C:\dir\)", "next"}},
    {R"(x.exe a\"b)", {"x.exe", R"(a"b)"}},
    {R"(x.exe a\\\"b)", {"x.exe", R"(a\"b)"}},
    {R"(x.exe a\\\\"b c")", {"x.exe", R"(a\\b c)"}},
    // The classic trap: a quoted folder ending in one backslash escapes its closing quote.
    {R"(x.exe "C:\dir\" next)", {"x.exe", R"(C:\dir" next)"}},
    // Doubled quotes inside a stretch: one quote, and the stretch goes on.
    {R"(x.exe "a""b")", {"x.exe", R"(a"b)"}},
    {R"(x.exe "a"" b")", {"x.exe", R"(a" b)"}},
    {R"(x.exe """")", {"x.exe", R"(")"}},
    // Word 0 knows quotes only.
    {R"("C:\dir\"x.exe /s)", {R"(C:\dir\x.exe)", "/s"}},
    {R"(C:\a\\b.exe /s)", {R"(C:\a\\b.exe)", "/s"}},
    {R"("C:\a b\x.exe"/w a.img)", {R"(C:\a b\x.exe/w)", "a.img"}},
};

void PrintTo(const SplitCase& c, std::ostream* out) {
    *out << c.commandLine;
}

class SplitTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitTest, FollowsTheRuntimesRules) {
    const SplitCase& c = GetParam();
    EXPECT_EQ(SplitCommandLine(c.commandLine), c.words) << "command line: " << c.commandLine;
}

INSTANTIATE_TEST_SUITE_P(CommandLines, SplitTest, ::testing::ValuesIn(kSplits));

TEST(Split, NoTextIsJustAnEmptyProgramWord) {
    EXPECT_EQ(SplitCommandLine(nullptr), Words{""});
}

TEST(CommandLineWords, TakesTheRuntimesArray) {
    const char* argv[] = {"x.exe", "/w", "a b.img", nullptr};
    EXPECT_EQ(CommandLineWords(3, argv), (Words{"x.exe", "/w", "a b.img"}));
    EXPECT_EQ(CommandLineWords(0, argv), Words{});
}

// ---------------------------------------------------------------------------------------
// What start-up is asked to do

// The settings in short: the drive, then the switches that are on, "fx" for WindowFx.
std::string Brief(const Settings& s) {
    std::string text = s.FDLetter;
    if (s.Suppress) text += " /f";
    if (s.Sound) text += " /s";
    if (s.Compatible) text += " /c";
    if (s.Emergency) text += " /e";
    if (s.WindowFx) text += " fx";
    return text;
}

// What the user last stored: everything on that a command-line run resets, and
// Compatible off, so that "/c" shows.
Settings StoredSettings() {
    Settings s;
    memcpy(s.FDLetter, "B:", 3);
    s.Suppress = 1;
    s.Sound = 1;
    s.Emergency = 1;
    s.Compatible = 0;
    s.WindowFx = 1;
    return s;
}

const StartCase kNone = StartCase::NoArguments;
const StartCase kImage = StartCase::ImageArgument;
const StartCase kCmd = StartCase::CommandLineMode;
const CommandLineJob kNoJob = CommandLineJob::None;
const CommandLineJob kWrite = CommandLineJob::Write;
const CommandLineJob kRead = CommandLineJob::Read;
const CommandLineJob kCheck = CommandLineJob::Check;

struct RequestCase {
    const char* commandLine;
    StartCase startCase;
    int status;  // switchesResult: -1 is help and exit status -1
    CommandLineJob job;
    const char* image;
    const char* description;
    const char* settings;  // Brief() of the settings afterwards
};

const RequestCase kRequests[] = {
    // Not command-line mode: the stored settings stay as they are.
    {"x.exe", kNone, 0, kNoJob, "", "", "B: /f /s /e fx"},
    {R"(x.exe C:\disks\a.img)", kImage, 0, kNoJob, R"(C:\disks\a.img)", "", "B: /f /s /e fx"},
    {"x.exe setup.exe", kImage, 0, kNoJob, "setup.exe", "", "B: /f /s /e fx"},  // refused later
    {R"(x.exe "")", kImage, 0, kNoJob, "", "", "B: /f /s /e fx"},
    // Help: a lone unknown switch, a lone job word, two words of which the first is none.
    {"x.exe /x", kCmd, -1, kNoJob, "", "", "A: fx"},
    {"x.exe /w", kCmd, -1, kNoJob, "", "", "A: fx"},
    {"x.exe /r", kCmd, -1, kNoJob, "", "", "A: fx"},
    {"x.exe a.img b.img", kCmd, -1, kNoJob, "", "", "A: fx"},
    {"x.exe foo /r a.img", kCmd, -1, kNoJob, "", "", "A: fx"},
    {"x.exe /b /f /s", kCmd, -1, kNoJob, "", "", "B: /f /s fx"},
    {"x.exe /d /w a.img", kCmd, -1, kNoJob, "", "/w", "A: fx"},  // "/w" is the description
    {"x.exe //w a.img", kCmd, -1, kNoJob, "", "", "A: fx"},
    {"x.exe /w: a.img", kCmd, -1, kNoJob, "", "", "A: fx"},
    // Jobs, in any case.
    {"x.exe /w a.imz", kCmd, 0, kWrite, "a.imz", "", "A: fx"},
    {"x.exe /W a.imz", kCmd, 0, kWrite, "a.imz", "", "A: fx"},
    {"x.exe /r a.img", kCmd, 0, kRead, "a.img", "", "A: fx"},
    {"x.exe /R A.IMG", kCmd, 0, kRead, "A.IMG", "", "A: fx"},
    {R"(x.exe /w "C:\My Disks\a b.imz")", kCmd, 0, kWrite, R"(C:\My Disks\a b.imz)", "", "A: fx"},
    // Every switch, in capitals too, before or after the job.
    {"x.exe /b /f /s /c /e /w a.img", kCmd, 0, kWrite, "a.img", "", "B: /f /s /c /e fx"},
    {"x.exe /r a.img /B /F /S /C /E", kCmd, 0, kRead, "a.img", "", "B: /f /s /c /e fx"},
    {R"(x.exe /r a.imz /d "two words")", kCmd, 0, kRead, "a.imz", "two words", "A: fx"},
    {R"(x.exe /D "first disk" /R a.imz)", kCmd, 0, kRead, "a.imz", "first disk", "A: fx"},
    // Repeats: harmless, the last description wins.
    {"x.exe /s /s /b /b /r a.img", kCmd, 0, kRead, "a.img", "", "B: /s fx"},
    {"x.exe /d one /d two /r a.img", kCmd, 0, kRead, "a.img", "two", "A: fx"},
    {R"(x.exe /d "" /r a.img)", kCmd, 0, kRead, "a.img", "", "A: fx"},
    // The scan stops at a word that is no switch; the job still runs.
    {"x.exe /r a.img foo /s", kCmd, 0, kRead, "a.img", "", "A: fx"},
    {"x.exe /r a.img /s foo /e", kCmd, 0, kRead, "a.img", "", "A: /s fx"},
    // "/d" as the last word stops the scan: no description.
    {"x.exe /r a.img /d", kCmd, 0, kRead, "a.img", "", "A: fx"},
    // A job word takes the next word whatever it is: the image is named "/f", and no
    // questions are suppressed. The image check refuses that name.
    {"x.exe /w /f", kCmd, 0, kWrite, "/f", "", "A: fx"},
    // Two scans: the switch scan stops at "foo", the job is still the first one.
    {"x.exe /r a.imz foo /w b.img", kCmd, 0, kRead, "a.imz", "", "A: fx"},
    {"x.exe /w a.img /r b.img", kCmd, 0, kWrite, "a.img", "", "A: fx"},
    // The job scan looks past the switch scan's values too: here the switch scan took
    // "/r" as the description, and the job chosen is a read into "/w", refused later.
    {"x.exe /d /r /w a.img", kCmd, 0, kRead, "/w", "/r", "A: fx"},
    // A job word as the last word does not count; an earlier complete job does.
    {"x.exe /r a.img /w", kCmd, 0, kRead, "a.img", "", "A: fx"},
    // A check: "/t" takes the next word as its image, in any case, among other switches.
    {"x.exe /t a.imz", kCmd, 0, kCheck, "a.imz", "", "A: fx"},
    {R"(x.exe /T "C:\My Disks b.exe" /b)", kCmd, 0, kCheck, R"(C:\My Disks b.exe)", "", "B: fx"},
    {"x.exe /t", kCmd, -1, kNoJob, "", "", "A: fx"},
    {"x.exe /t /r a.img", kCmd, 0, kCheck, "/r", "", "A: fx"},  // "/r" is the image to check
    // A conversion: "/i" names the source of a "/r"; alone, with "/w" or "/t", the help.
    {"x.exe /i old.img /r new.exe", kCmd, 0, kRead, "new.exe", "", "A: fx"},
    {R"(x.exe /r new.imz /I old.img /d "kept")", kCmd, 0, kRead, "new.imz", "kept", "A: fx"},
    {"x.exe /i old.img", kCmd, -1, kNoJob, "", "", "A: fx"},
    {"x.exe /i /r new.img", kCmd, -1, kNoJob, "", "", "A: fx"},  // "/r" is the source
    {"x.exe /i old.img /w disk.img", kCmd, -1, kNoJob, "", "", "A: fx"},
    {"x.exe /i old.img /t disk.img", kCmd, -1, kNoJob, "", "", "A: fx"},
    {"x.exe /r new.img /i", kCmd, 0, kRead, "new.img", "", "A: fx"},  // "/i" last: a plain read
};

// The "/i" value of each conversion above.
struct SourceCase {
    const char* commandLine;
    const char* source;
};

const SourceCase kSources[] = {
    {"x.exe /i old.img /r new.exe", "old.img"},
    {R"(x.exe /r new.imz /I "C:\old disks.img")", R"(C:\old disks.img)"},
    {"x.exe /i one.img /i two.imz /r new.exe", "two.imz"},
    {"x.exe /r new.img /i", ""},
    {"x.exe /r new.img", ""},
};

TEST(Request, SourceImageOfAConversion) {
    for (const SourceCase& c : kSources) {
        Settings settings;
        const CommandLineRequest request = InterpretCommandLine(SplitCommandLine(c.commandLine), settings);
        EXPECT_EQ(request.sourceImage, c.source) << c.commandLine;
    }
}

// Checks and conversions touch no drive: they run beside a running instance instead of
// handing it anything. Every other start still hands over.
TEST(Request, ChecksAndConversionsRunBesideARunningInstance) {
    const struct {
        const char* commandLine;
        bool beside;
    } rows[] = {
        {"x.exe /t a.imz", true},
        {"x.exe /b /T a.img", true},
        {"x.exe /i old.img /r new.imz", true},
        {"x.exe /r new.imz /i old.img /d text", true},
        {"x.exe /r new.imz", false},
        {"x.exe /w a.imz", false},
        {"x.exe /w a.imz /t b.img", false},  // the first job is a write
        {"x.exe /i old.img", false},          // the help, shown by the running instance's
        {"x.exe /t", false},                  // rules like any other help
        {"x.exe a.img", false},
        {"x.exe", false},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(RunsBesideRunningInstance(SplitCommandLine(row.commandLine)), row.beside)
            << row.commandLine;
    }
}

void PrintTo(const RequestCase& c, std::ostream* out) {
    *out << c.commandLine;
}

class RequestTest : public ::testing::TestWithParam<RequestCase> {};

TEST_P(RequestTest, FromTheWords) {
    const RequestCase& c = GetParam();
    SCOPED_TRACE(c.commandLine);
    Settings settings = StoredSettings();
    const CommandLineRequest request = InterpretCommandLine(SplitCommandLine(c.commandLine), settings);
    EXPECT_EQ(request.startCase, c.startCase);
    EXPECT_EQ(request.switchesResult, c.status);
    EXPECT_EQ(request.job, c.job);
    EXPECT_EQ(request.imagePath, c.image);
    EXPECT_EQ(request.description, c.description);
    EXPECT_EQ(Brief(settings), c.settings);
}

INSTANTIATE_TEST_SUITE_P(CommandLines, RequestTest, ::testing::ValuesIn(kRequests));

TEST(Request, StoredCompatibleAndWindowFxCarryOverStoredDriveDoesNot) {
    Settings settings = StoredSettings();
    settings.Compatible = 1;
    settings.WindowFx = 0;
    const CommandLineRequest request = InterpretCommandLine(SplitCommandLine("x.exe /r a.img"), settings);
    EXPECT_EQ(request.job, kRead);
    EXPECT_EQ(Brief(settings), "A: /c");
}

TEST(Request, NoWordsAtAllIsTheEmptyDialog) {
    Settings settings = StoredSettings();
    EXPECT_EQ(InterpretCommandLine(Words{}, settings).startCase, kNone);
    EXPECT_EQ(Brief(settings), "B: /f /s /e fx");
}

// The two scans on their own: the switch scan takes the settings as they come.
TEST(ParseSwitches, LeavesTheResetsToItsCaller) {
    Settings settings = StoredSettings();
    std::string description = "kept";
    EXPECT_EQ(ParseSwitches(SplitCommandLine("x.exe /c /w a.img"), settings, description), 0);
    EXPECT_EQ(Brief(settings), "B: /f /s /c /e fx");
    EXPECT_EQ(description, "kept");
}

TEST(ChooseJob, LooksAtEveryWordWhateverTheSwitchScanSays) {
    const JobChoice choice = ChooseJob(SplitCommandLine("x.exe foo /r a.img"));
    EXPECT_EQ(choice.job, kRead);
    EXPECT_EQ(choice.image, "a.img");
    EXPECT_EQ(ChooseJob(SplitCommandLine("x.exe /s /w")).job, kNoJob);
    EXPECT_EQ(ChooseJob(SplitCommandLine("x.exe /s")).image, "");
}

// ---------------------------------------------------------------------------------------
// What a second start hands to the running instance

struct HandOverCase {
    const char* commandLine;
    const char* handed;  // "" only activates
};

const HandOverCase kHandOvers[] = {
    {"x.exe", ""},
    {"x.exe a.img", "a.img"},
    {R"(x.exe "C:\My Disks\a b.imz")", R"(C:\My Disks\a b.imz)"},
    {"x.exe foo /r a.img", "foo"},  // word 1 is no switch: it goes, whatever follows
    {R"(x.exe "")", ""},
    {"x.exe /w a.imz", "a.imz"},
    {"x.exe /W a.imz", "a.imz"},
    {"x.exe /f /b /w a.imz /s", "a.imz"},
    {"x.exe /r a.img /w b.img", "b.img"},  // only a write names an image to show
    {"x.exe /w a.img /w b.img", "a.img"},
    {"x.exe /r a.img", ""},
    {"x.exe /s", ""},
    {"x.exe /w", ""},
    {"x.exe /ww a.img", ""},
};

void PrintTo(const HandOverCase& c, std::ostream* out) {
    *out << c.commandLine;
}

class HandOverTest : public ::testing::TestWithParam<HandOverCase> {};

TEST_P(HandOverTest, PicksTheImageToShow) {
    const HandOverCase& c = GetParam();
    EXPECT_EQ(HandOverText(SplitCommandLine(c.commandLine)), c.handed) << "command line: " << c.commandLine;
}

INSTANTIATE_TEST_SUITE_P(SecondStarts, HandOverTest, ::testing::ValuesIn(kHandOvers));

}  // namespace

// "/n": a batch of reads into the names of one pattern; the help for anything else.
TEST(Request, BatchReadsIntoOnePatternOnly) {
    const struct {
        const char* commandLine;
        bool batch;
        int status;
        const char* image;
    } rows[] = {
        {"x.exe /n /r box4-##.imz", true, 0, "box4-##.imz"},
        {R"(x.exe /N /r box4-##.imz /d "Box 4, disk ##" /e /f)", true, 0, "box4-##.imz"},
        {"x.exe /r box4-##.imz", false, 0, "box4-##.imz"},
        {"x.exe /n /r box4.imz", true, -1, ""},
        {"x.exe /n /r box#-##.imz", true, -1, ""},
        {R"(x.exe /n /d "# of ##" /r box4-##.imz)", true, -1, ""},
        {"x.exe /n /w box4-##.imz", true, -1, ""},
        {"x.exe /n /i old.img /r box4-##.imz", true, -1, ""},
    };
    for (const auto& row : rows) {
        Settings settings;
        const CommandLineRequest request = InterpretCommandLine(SplitCommandLine(row.commandLine), settings);
        EXPECT_EQ(request.batch, row.batch) << row.commandLine;
        EXPECT_EQ(request.switchesResult, row.status) << row.commandLine;
        EXPECT_EQ(request.imagePath, row.image) << row.commandLine;
    }
}
