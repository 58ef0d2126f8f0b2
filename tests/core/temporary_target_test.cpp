// The temporary file an image is made in: its name beside the target, and the rule that
// the target changes only when the file is committed.
#include "engine/files/temporary_target.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#ifndef _WIN32
#include <stdio.h>
#include <sys/stat.h>
#endif

#include <filesystem>
#include <string>

#include "tests/support/counting_files.h"
#include "tests/support/faulty_target_files.h"
#include "tests/support/temp_dir.h"

namespace {

using ::testing::ElementsAre;

TEST(TemporaryName, BesideTheTargetThenNumberedThenShortWhenTooLong) {
    const std::string folder = "C:\\Images\\";
    // With the folder 256 characters long: one too many for ".tmp" behind it.
    const std::string longName = std::string(252 - folder.size(), 'n') + ".img";
    struct Case {
        std::string target;
        unsigned attempt;
        size_t size;
        const char* expected;  // nullptr: does not fit at all
    };
    const Case cases[] = {
        {"C:\\Images\\disk.imz", 0, 260, "C:\\Images\\disk.imz.tmp"},
        {"C:\\Images\\disk.imz", 1, 260, "C:\\Images\\disk.imz.1.tmp"},
        {"C:\\Images\\disk.imz", 42, 260, "C:\\Images\\disk.imz.42.tmp"},
        {"/home/a/disk.exe", 7, 260, "/home/a/disk.exe.7.tmp"},
        {"disk.img", 0, 260, "disk.img.tmp"},
        // Exactly filling the buffer, terminator included.
        {"a.img", 0, 10, "a.img.tmp"},
        // Too long for that: the short name in the same folder, here the current one.
        {"abcdefgh.img", 0, 12, "~vorlix.tmp"},
        {folder + longName, 0, 260, "C:\\Images\\~vorlix.tmp"},
        {folder + longName, 3, 260, "C:\\Images\\~vorlix3.tmp"},
        {"C:" + std::string(254, 'n'), 0, 260, "C:~vorlix.tmp"},
        {"C:/mixed\\sep/" + longName, 9, 260, "C:/mixed\\sep/~vorlix9.tmp"},
        {std::string(255, 'f') + "\\disk.img", 0, 260, nullptr},
        {"disk.img", 0, 0, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target + " #" + std::to_string(c.attempt));
        char name[260] = "untouched";
        const bool fits = TemporaryName(c.target.c_str(), c.attempt, name, c.size);
        EXPECT_EQ(fits, c.expected != nullptr);
        if (c.expected != nullptr) {
            EXPECT_EQ(std::string(name), c.expected);
        }
    }
}

class TemporaryTargetTest : public ::testing::Test {
protected:
    std::string Target() const { return dir_.File("disk.img"); }

    TempDir dir_;
    FaultyTargetFiles files_;
};

TEST_F(TemporaryTargetTest, TakesTheFirstFreeNameAndLeavesTheTargetAlone) {
    WriteWholeFile(Target(), "old image");
    WriteWholeFile(dir_.File("disk.img.tmp"), "someone else's");
    ASSERT_TRUE(std::filesystem::create_directory(dir_.File("disk.img.1.tmp")));
    {
        TemporaryTarget temporary(files_);
        ASSERT_EQ(temporary.Create(Target().c_str()), 0);
        EXPECT_EQ(std::string(temporary.Path()), dir_.File("disk.img.2.tmp"));
        EXPECT_EQ(ReadWholeFile(temporary.Path()), "");
        EXPECT_EQ(ReadWholeFile(Target()), "old image");
    }
    // Never committed: gone, and nothing else touched.
    EXPECT_THAT(FileNamesIn(dir_.path()), ElementsAre("disk.img", "disk.img.1.tmp", "disk.img.tmp"));
    EXPECT_EQ(ReadWholeFile(dir_.File("disk.img.tmp")), "someone else's");
}

TEST_F(TemporaryTargetTest, CommitReplacesAnExistingTargetOrMakesANewOne) {
    for (bool existing : {true, false}) {
        SCOPED_TRACE(existing ? "existing target" : "new target");
        if (existing) WriteWholeFile(Target(), "old image");
        TemporaryTarget temporary(files_);
        ASSERT_EQ(temporary.Create(Target().c_str()), 0);
        ASSERT_GE(fputs("new image", temporary.Stream()), 0);
        EXPECT_EQ(temporary.Commit(), 0);
        EXPECT_EQ(ReadWholeFile(Target()), "new image");
        EXPECT_THAT(FileNamesIn(dir_.path()), ElementsAre("disk.img"));
        // Committed once: a second commit or a discard has nothing to work on.
        EXPECT_EQ(temporary.Commit(), -1);
        EXPECT_EQ(temporary.Discard(), 0);
        EXPECT_THAT(FileNamesIn(dir_.path()), ElementsAre("disk.img"));
        ASSERT_TRUE(files_.Remove(Target().c_str()));
    }
}

TEST_F(TemporaryTargetTest, TargetThatWillNotBeReplacedStaysAndTheFileGoes) {
    WriteWholeFile(Target(), "old image");
    files_.failReplace = true;
    TemporaryTarget temporary(files_);
    ASSERT_EQ(temporary.Create(Target().c_str()), 0);
    ASSERT_GE(fputs("new image", temporary.Stream()), 0);
    EXPECT_EQ(temporary.Commit(), -1);
    EXPECT_EQ(ReadWholeFile(Target()), "old image");
    EXPECT_THAT(FileNamesIn(dir_.path()), ElementsAre("disk.img"));
}

TEST_F(TemporaryTargetTest, NoNameToBeHad) {
    struct Case {
        const char* name;
        std::string target;
        bool everyNameTaken;
        size_t asked;
    };
    const Case cases[] = {
        {"NoSuchFolder", dir_.File("missing/disk.img"), false, 1},
        {"EveryNameTaken", Target(), true, TemporaryTarget::kAttempts},
        {"TargetTooLong", std::string(kJobPathSize, 'x'), false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        files_ = FaultyTargetFiles();
        files_.everyNameTaken = c.everyNameTaken;
        TemporaryTarget temporary(files_);
        EXPECT_EQ(temporary.Create(c.target.c_str()), -1);
        EXPECT_EQ(files_.created.size(), c.asked);
        EXPECT_EQ(temporary.Commit(), -1);
        EXPECT_TRUE(FileNamesIn(dir_.path()).empty());
    }
}

// An old target moved aside that could not be put back leaves the new file as the one
// image of a known name: it is not removed.
TEST_F(TemporaryTargetTest, FileIsKeptWhenTheOldTargetCouldNotBePutBack) {
    files_.strandReplace = true;
    TemporaryTarget temporary(files_);
    ASSERT_EQ(temporary.Create(Target().c_str()), 0);
    ASSERT_GE(fputs("new image", temporary.Stream()), 0);
    EXPECT_EQ(temporary.Commit(), -1);
    EXPECT_EQ(temporary.Discard(), 0);
    EXPECT_EQ(ReadWholeFile(dir_.File("disk.img.tmp")), "new image");
    EXPECT_TRUE(files_.removed.empty());
}

// A file that will not go is held on to, and removed at the next chance.
TEST_F(TemporaryTargetTest, FileThatWillNotGoIsTriedAgain) {
    TemporaryTarget temporary(files_);
    ASSERT_EQ(temporary.Create(Target().c_str()), 0);
    const std::string path = temporary.Path();
    files_.failRemove = true;
    EXPECT_EQ(temporary.Discard(), -1);
    EXPECT_TRUE(FileExists(path));
    files_.failRemove = false;
    EXPECT_EQ(temporary.Discard(), 0);
    EXPECT_FALSE(FileExists(path));
}

// A power cut must find either the old image or the whole new one under the target's
// name: the file's bytes reach the disk before the rename, the rename before success.
TEST_F(TemporaryTargetTest, ImageIsOnTheDiskBeforeItTakesTheTargetsName) {
    if (!CountingFiles::Available()) GTEST_SKIP() << "the recording layer is native only";
    WriteWholeFile(Target(), "old image");
    TemporaryTarget temporary(files_);
    ASSERT_EQ(temporary.Create(Target().c_str()), 0);
    ASSERT_GE(fputs("new image", temporary.Stream()), 0);
    CountingFiles recording;
    ASSERT_EQ(temporary.Commit(), 0);
    EXPECT_THAT(recording.storage, ElementsAre("sync file", "rename", "sync folder"));
    EXPECT_EQ(recording.OpenNow(), 0);
}

#ifndef _WIN32
mode_t ModeOf(const std::string& path) {
    struct stat status {};
    EXPECT_EQ(stat(path.c_str(), &status), 0) << path;
    return status.st_mode & 07777;
}

// A link the user made to the image stays a link: the file at its end gets the image,
// and the temporary file is made beside that file, on its volume.
TEST_F(TemporaryTargetTest, LinkedTargetStaysALinkAndItsFileGetsTheImage) {
    namespace fs = std::filesystem;
    ASSERT_TRUE(fs::create_directory(dir_.File("store")));
    const struct {
        const char* name;
        std::string link;       // what disk.img points to
        std::string endsIn;     // the file the image must land in
        bool existing;
    } cases[] = {
        {"Relative", "store/old.img", dir_.File("store/old.img"), true},
        {"Absolute", dir_.File("store/old.img"), dir_.File("store/old.img"), true},
        {"ThroughAnotherLink", "hop", dir_.File("store/old.img"), true},
        {"Dangling", "store/new.img", dir_.File("store/new.img"), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.existing) WriteWholeFile(c.endsIn, "old image");
        fs::create_symlink("store/old.img", dir_.File("hop"));
        fs::create_symlink(c.link, Target());
        TemporaryTarget temporary(files_);
        ASSERT_EQ(temporary.Create(Target().c_str()), 0);
        EXPECT_EQ(fs::path(temporary.Path()).parent_path(), fs::path(dir_.File("store")));
        ASSERT_GE(fputs("new image", temporary.Stream()), 0);
        ASSERT_EQ(temporary.Commit(), 0);
        EXPECT_TRUE(fs::is_symlink(Target()));
        EXPECT_EQ(fs::read_symlink(Target()), fs::path(c.link));
        EXPECT_EQ(ReadWholeFile(c.endsIn), "new image");
        EXPECT_THAT(FileNamesIn(dir_.path()), ElementsAre("disk.img", "hop", "store"));
        EXPECT_THAT(FileNamesIn(dir_.File("store")), ElementsAre(fs::path(c.endsIn).filename()));
        fs::remove(Target());
        fs::remove(dir_.File("hop"));
        fs::remove(c.endsIn);
    }
}

// The new image keeps the old one's permissions; a first image gets the umask's.
TEST_F(TemporaryTargetTest, ImageKeepsTheOldOnesPermissions) {
    const mode_t mask = umask(022);
    const struct {
        const char* name;
        int before;  // -1: no older image
        mode_t after;
    } cases[] = {
        {"Private", 0600, 0600},
        {"GroupReadable", 0640, 0640},
        {"OwnerReadOnly", 0400, 0400},
        {"New", -1, 0644},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.before >= 0) {
            WriteWholeFile(Target(), "old image");
            ASSERT_EQ(chmod(Target().c_str(), static_cast<mode_t>(c.before)), 0);
        }
        TemporaryTarget temporary(files_);
        ASSERT_EQ(temporary.Create(Target().c_str()), 0);
        ASSERT_GE(fputs("new image", temporary.Stream()), 0);
        ASSERT_EQ(temporary.Commit(), 0);
        EXPECT_EQ(ModeOf(Target()), c.after);
        EXPECT_EQ(ReadWholeFile(Target()), "new image");
        ASSERT_EQ(remove(Target().c_str()), 0);
    }
    umask(mask);
}
#endif

}  // namespace
