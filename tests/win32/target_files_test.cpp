// The system's file operations around a read job's target on the real Win32 calls: the
// NT family's one-step replacement and the 9x family's renames, the old target aside
// until the new one is in place (both run under Wine), including targets that must not
// be replaced because they are read only or held open, and a new file that will not move. Then the read job itself over such targets, with the operations it picks
// for its device method.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include <filesystem>
#include <optional>
#include <string>

#include "engine/files/target_files.h"
#include "engine/job/read_floppy_job.h"
#include "resources/string_ids.h"
#include "tests/support/job_test_host.h"
#include "tests/support/simulated_floppy.h"
#include "tests/support/temp_dir.h"

namespace {

using ::testing::ElementsAre;

const char* FamilyName(bool ntFamily) { return ntFamily ? "Nt" : "Windows9x"; }

// Makes `path` read only for as long as it lives, so that the folder can go afterwards.
class ReadOnly {
public:
    explicit ReadOnly(const std::string& path) : path_(path) {
        EXPECT_NE(SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_READONLY), 0);
    }
    ~ReadOnly() { SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_NORMAL); }
    ReadOnly(const ReadOnly&) = delete;
    ReadOnly& operator=(const ReadOnly&) = delete;

private:
    std::string path_;
};

// Holds `path` open as another program would, sharing nothing but reading.
class HeldOpen {
public:
    explicit HeldOpen(const std::string& path)
        : handle_(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL)) {
        EXPECT_NE(handle_, INVALID_HANDLE_VALUE);
    }
    ~HeldOpen() {
        if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    }
    HeldOpen(const HeldOpen&) = delete;
    HeldOpen& operator=(const HeldOpen&) = delete;

private:
    HANDLE handle_;
};

class SystemTargetFilesTest : public ::testing::TestWithParam<bool> {
protected:
    std::string Source() const { return dir_.File("disk.img.tmp"); }
    std::string Target() const { return dir_.File("disk.img"); }

    TempDir dir_;
    SystemTargetFiles files_{GetParam()};
};

TEST_P(SystemTargetFilesTest, ReplacesAnExistingTargetOrMakesANewOne) {
    for (bool existing : {true, false}) {
        SCOPED_TRACE(existing ? "existing" : "new");
        if (existing) WriteWholeFile(Target(), "old image");
        WriteWholeFile(Source(), "new image");
        EXPECT_EQ(files_.Replace(Source().c_str(), Target().c_str()), Replacement::Done);
        EXPECT_EQ(ReadWholeFile(Target()), "new image");
        EXPECT_THAT(FileNamesIn(dir_.path()), ElementsAre("disk.img"));
        ASSERT_TRUE(files_.Remove(Target().c_str()));
    }
}

TEST_P(SystemTargetFilesTest, TargetThatMustNotBeReplacedStays) {
    struct Case {
        const char* name;
        bool readOnly;
        bool heldOpen;
        bool sourceHeldOpen;  // the new file cannot move, after the 9x family moved the old aside
    };
    const Case cases[] = {{"ReadOnly", true, false, false},
                          {"HeldOpen", false, true, false},
                          {"NewFileHeldOpen", false, false, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteWholeFile(Target(), "old image");
        WriteWholeFile(Source(), "new image");
        {
            std::optional<ReadOnly> readOnly;
            std::optional<HeldOpen> held;
            if (c.readOnly) readOnly.emplace(Target());
            if (c.heldOpen) held.emplace(Target());
            if (c.sourceHeldOpen) held.emplace(Source());
            EXPECT_EQ(files_.Replace(Source().c_str(), Target().c_str()), Replacement::Refused);
        }
        EXPECT_EQ(ReadWholeFile(Target()), "old image");
        EXPECT_EQ(ReadWholeFile(Source()), "new image");
        EXPECT_THAT(FileNamesIn(dir_.path()), ElementsAre("disk.img", "disk.img.tmp"));
        ASSERT_TRUE(files_.Remove(Source().c_str()));
        ASSERT_TRUE(files_.Remove(Target().c_str()));
    }
}

TEST_P(SystemTargetFilesTest, CreateNewTakesNothingThatExists) {
    WriteWholeFile(dir_.File("taken"), "someone's");
    ASSERT_TRUE(std::filesystem::create_directory(dir_.File("folder")));
    const struct {
        const char* name;
        NewFile expected;
    } cases[] = {
        {"free", NewFile::Created},
        {"taken", NewFile::Taken},
        {"folder", NewFile::Taken},
        {"missing\\free", NewFile::Failed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FILE* stream = nullptr;
        EXPECT_EQ(files_.CreateNew(dir_.File(c.name).c_str(), &stream), c.expected);
        EXPECT_EQ(stream != nullptr, c.expected == NewFile::Created);
        if (stream != nullptr) fclose(stream);
    }
    EXPECT_EQ(ReadWholeFile(dir_.File("free")), "");
    EXPECT_EQ(ReadWholeFile(dir_.File("taken")), "someone's");
    EXPECT_THAT(FileNamesIn(dir_.path()), ElementsAre("folder", "free", "taken"));
}

// While the new file is open its name stays its own: nobody can remove it or give it to
// another file, so the bytes written through its stream are the ones that replace.
TEST_P(SystemTargetFilesTest, OpenNewFileKeepsItsName) {
    WriteWholeFile(Target(), "old image");
    FILE* stream = nullptr;
    ASSERT_EQ(files_.CreateNew(Source().c_str(), &stream), NewFile::Created);
    EXPECT_EQ(DeleteFileA(Source().c_str()), 0);
    EXPECT_EQ(MoveFileA(Source().c_str(), dir_.File("elsewhere").c_str()), 0);
    EXPECT_GE(fputs("new image", stream), 0);
    EXPECT_TRUE(files_.Close(stream, Source().c_str(), Target().c_str()));
    EXPECT_EQ(files_.Replace(Source().c_str(), Target().c_str()), Replacement::Done);
    EXPECT_EQ(ReadWholeFile(Target()), "new image");
    EXPECT_THAT(FileNamesIn(dir_.path()), ElementsAre("disk.img"));
}

// A hidden or system image stays so when a new one replaces it.
TEST_P(SystemTargetFilesTest, NewImageKeepsTheOldOnesAttributes) {
    const DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    WriteWholeFile(Target(), "old image");
    ASSERT_NE(SetFileAttributesA(Target().c_str(), kept), 0);
    if ((GetFileAttributesA(Target().c_str()) & kept) != kept) {
        GTEST_SKIP() << "this file system keeps no such attributes";
    }
    FILE* stream = nullptr;
    ASSERT_EQ(files_.CreateNew(Source().c_str(), &stream), NewFile::Created);
    EXPECT_GE(fputs("new image", stream), 0);
    EXPECT_TRUE(files_.Close(stream, Source().c_str(), Target().c_str()));
    EXPECT_EQ(files_.Replace(Source().c_str(), Target().c_str()), Replacement::Done);
    EXPECT_EQ(GetFileAttributesA(Target().c_str()) & kept, kept);
    EXPECT_EQ(ReadWholeFile(Target()), "new image");
    SetFileAttributesA(Target().c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_P(SystemTargetFilesTest, RemoveAnswersWhetherTheFileIsGone) {
    WriteWholeFile(Source(), "partial");
    EXPECT_TRUE(files_.Remove(Source().c_str()));
    EXPECT_FALSE(FileExists(Source()));
    EXPECT_TRUE(files_.Remove(Source().c_str())) << "nothing to remove";
    EXPECT_TRUE(files_.Remove(dir_.File("missing\\disk.img.tmp").c_str()));
    WriteWholeFile(Source(), "partial");
    {
        ReadOnly readOnly(Source());
        EXPECT_FALSE(files_.Remove(Source().c_str()));
        EXPECT_TRUE(FileExists(Source()));
    }
}

INSTANTIATE_TEST_SUITE_P(BothFamilies, SystemTargetFilesTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& param) {
                             return std::string(FamilyName(param.param));
                         });

// --- The read job, with the operations its device method's family calls for ----------

class ReadJobTarget : public ::testing::TestWithParam<bool> {
protected:
    ReadJobTarget() {
        const std::string path = Target();
        EXPECT_LT(path.size(), sizeof request_.imagePath);
        memcpy(request_.imagePath, path.c_str(), path.size() + 1);
        WriteWholeFile(path, "older image");
    }

    std::string Target() const { return dir_.File("disk.imz"); }

    JobOutcome Run() {
        const bool nt = GetParam();
        SimulatedFloppy disk(18, nt ? SimulatedFloppy::Flavour::Nt : SimulatedFloppy::Flavour::Vwin32);
        SystemTargetFiles files(nt);
        ReadFloppyJob job(request_, host_, disk, &files);
        job.Run();
        return job.Outcome();
    }

    TempDir dir_;
    TestJobHost host_;
    JobRequest request_;
};

TEST_P(ReadJobTarget, FinishedReadReplacesTheOlderImage) {
    EXPECT_EQ(Run().end, JobEnd::Finished);
    EXPECT_GT(ReadWholeFile(Target()).size(), 1024u);
    EXPECT_THAT(FileNamesIn(dir_.path()), ElementsAre("disk.imz"));
}

TEST_P(ReadJobTarget, ReadOnlyOlderImageStaysAndTheUserIsTold) {
    JobOutcome outcome;
    {
        ReadOnly readOnly(Target());
        outcome = Run();
    }
    EXPECT_EQ(outcome.end, JobEnd::Failed);
    EXPECT_EQ(outcome.messageId, static_cast<unsigned>(IDS_UNABLE_TO_CREATE));
    EXPECT_EQ(host_.Count(JobNotice::Finished), 0);
    EXPECT_EQ(ReadWholeFile(Target()), "older image");
    EXPECT_THAT(FileNamesIn(dir_.path()), ElementsAre("disk.imz"));
}

INSTANTIATE_TEST_SUITE_P(BothFamilies, ReadJobTarget, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& param) {
                             return std::string(FamilyName(param.param));
                         });

}  // namespace
