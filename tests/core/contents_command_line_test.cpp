// The switches of a disk's files: "/l IMAGE", "/x IMAGE FOLDER", "/m FOLDER /r IMAGE"
// with "/d" and "/k"; and the fit check every front end makes before a volume is made.
#include <gtest/gtest.h>

#include <string>

#include "app/command_line.h"
#include "engine/fat/fat_make_checks.h"
#include "resources/string_ids.h"
#include "tests/support/command_line_split.h"
#include "tests/support/recording_sink.h"

namespace {

struct ContentsCase {
    const char* commandLine;
    int status;
    CommandLineJob job;
    const char* image;
    const char* folder;
    int kilobytes;
    const char* description;
};

const ContentsCase kCases[] = {
    {"x.exe /l a.imz", 0, CommandLineJob::List, "a.imz", "", 1440, ""},
    {"x.exe /X a.img out", 0, CommandLineJob::Extract, "a.img", "out", 1440, ""},
    {"x.exe /x a.img out /f", 0, CommandLineJob::Extract, "a.img", "out", 1440, ""},
    {"x.exe /m files /r new.imz", 0, CommandLineJob::Make, "new.imz", "files", 1440, ""},
    {"x.exe /m files /r new.img /d \"Boot disk\" /k 720", 0, CommandLineJob::Make, "new.img", "files", 720,
     "Boot disk"},
    {"x.exe /k 2880 /r new.exe /m files", 0, CommandLineJob::Make, "new.exe", "files", 2880, ""},
    {"x.exe /m files /r new.img /k 100", 0, CommandLineJob::Make, "new.img", "files", 100, ""},
    // Without all their words, or with a size that is no number, they are the help, never a
    // job on something else.
    {"x.exe /m files /r new.img /k many", -1, CommandLineJob::None, "", "", 1440, ""},
    {"x.exe /m files /r new.img /k 720k", -1, CommandLineJob::None, "", "", 1440, ""},
    {"x.exe /m files", -1, CommandLineJob::None, "", "", 1440, ""},
    {"x.exe /x a.img", -1, CommandLineJob::None, "", "", 1440, ""},
    {"x.exe /l", -1, CommandLineJob::None, "", "", 1440, ""},
};

TEST(ContentsCommandLine, SwitchesMakeTheirJobs) {
    for (const ContentsCase& c : kCases) {
        SCOPED_TRACE(c.commandLine);
        Settings settings;
        const CommandLineRequest request = InterpretCommandLine(SplitCommandLine(c.commandLine), settings);
        EXPECT_EQ(request.switchesResult, c.status);
        EXPECT_EQ(request.job, c.job);
        EXPECT_EQ(request.imagePath, c.image);
        EXPECT_EQ(request.folder, c.folder);
        EXPECT_EQ(request.formatKilobytes, c.kilobytes);
        EXPECT_EQ(request.description, c.description);
    }
}

TEST(ContentsCommandLine, DiskFilesJobsRunBesideARunningInstance) {
    EXPECT_TRUE(RunsBesideRunningInstance(SplitCommandLine("x.exe /l a.imz")));
    EXPECT_TRUE(RunsBesideRunningInstance(SplitCommandLine("x.exe /x a.imz out")));
    EXPECT_TRUE(RunsBesideRunningInstance(SplitCommandLine("x.exe /m files /r a.imz")));
    EXPECT_FALSE(RunsBesideRunningInstance(SplitCommandLine("x.exe /m files")));
}

FatSourceItem FolderOf(uint64_t fileBytes) {
    FatSourceItem root;
    root.directory = true;
    FatSourceItem file;
    file.name = "BIG.BIN";
    file.size = fileBytes;
    root.children.push_back(file);
    return root;
}

TEST(FatFitCheck, ATooLargeFolderIsRefusedNamingBothSizes) {
    const FloppyType* type = FormatOfKilobytes(360);
    ASSERT_NE(type, nullptr);
    RecordingSink sink;
    EXPECT_EQ(0, CheckFatFits(FolderOf(1000), *type, FatMakeOptions(), "files", sink));
    EXPECT_TRUE(sink.shown.empty());
    EXPECT_EQ(-1, CheckFatFits(FolderOf(400 * 1024), *type, FatMakeOptions(), "files", sink));
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_EQ(sink.shown[0].id, static_cast<unsigned>(IDS_MAKE_TOO_LARGE));
    EXPECT_EQ(sink.shown[0].number, 400 * 1024);
    EXPECT_GT(sink.shown[0].secondNumber, 350 * 1024);
    EXPECT_LT(sink.shown[0].secondNumber, 360 * 1024);
}

TEST(FatFitCheck, FormatsByKilobytes) {
    for (int kilobytes : {160, 180, 320, 360, 720, 1200, 1440, 1680, 2880}) {
        const FloppyType* type = FormatOfKilobytes(kilobytes);
        ASSERT_NE(type, nullptr) << kilobytes;
        EXPECT_EQ(type->totalBytes, static_cast<uint32_t>(kilobytes) * 1024u);
    }
    EXPECT_EQ(FormatOfKilobytes(0), nullptr);
    EXPECT_EQ(FormatOfKilobytes(-1440), nullptr);
    EXPECT_EQ(FormatOfKilobytes(1000), nullptr);
}

}  // namespace
