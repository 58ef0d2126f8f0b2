// A read job's target: an image that already has the target's name survives every read
// that does not finish, byte for byte, and no partial image is left beside it; a
// finished read replaces it. A cancel near the end is honoured or not, but the outcome
// always says which.
#include "engine/job/read_floppy_job.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include <functional>
#include <ostream>
#include <string>
#include <tuple>

#include "engine/image/image_kind.h"
#include "engine/image/image_trailer.h"
#include "resources/string_ids.h"
#include "tests/support/binary_data.h"
#include "tests/support/faulty_target_files.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/image_files.h"
#include "tests/support/job_test_host.h"
#include "tests/support/simulated_floppy.h"
#include "tests/support/temp_dir.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr int kUnits1440 = 144;
constexpr const char* kProgram = "vorlix.exe";

class ReadTarget : public ::testing::Test {
protected:
    ReadTarget() {
        host_.programPath = dir_.File(kProgram);
        WriteFakeProgram(host_.programPath);
        strcpy(request_.description, "Replacement");
    }

    // Aims the job at `name`; with `existing`, an older image of that name is there.
    void Aim(const std::string& name, bool existing) {
        name_ = name;
        const std::string path = dir_.File(name);
        ASSERT_LT(path.size(), sizeof request_.imagePath);
        memcpy(request_.imagePath, path.c_str(), path.size() + 1);
        if (existing) WriteWholeFile(path, old_);
    }
    std::string Path() const { return dir_.File(name_); }

    JobOutcome Run(SimulatedFloppy& disk) {
        ReadFloppyJob job(request_, host_, disk, &files_);
        job.Run();
        return job.Outcome();
    }

    // The older image is there as it was, or nothing when there was none; beside it only
    // the program's file.
    void ExpectTargetAsBefore(bool existing) {
        if (existing) {
            EXPECT_TRUE(ReadWholeFile(Path()) == old_) << "the older image changed";
            EXPECT_THAT(FileNamesIn(dir_.path()), ElementsAre(name_, kProgram));
        } else {
            EXPECT_THAT(FileNamesIn(dir_.path()), ElementsAre(kProgram));
        }
    }

    // The target holds a whole new image of `disk`, and nothing was left beside it.
    void ExpectNewImage(const SimulatedFloppy& disk) {
        const std::string image = ReadWholeFile(Path());
        ASSERT_GT(image.size(), static_cast<size_t>(kImageTrailerSize));
        if (HasExtension(request_.imagePath, ".img")) {
            EXPECT_TRUE(image.substr(0, image.size() - kImageTrailerSize) == DiskBytes(disk));
        }
        RecordingSink sink;
        char description[kDescriptionBufferSize];
        int sectorsPerTrack = 0;
        EXPECT_EQ(ReadImageTrailer(Path().c_str(), sink, description, &sectorsPerTrack),
                  kTrailerRead);
        EXPECT_EQ(std::string(description), "Replacement");
        EXPECT_EQ(sectorsPerTrack, 18);
        EXPECT_THAT(FileNamesIn(dir_.path()), ElementsAre(name_, kProgram));
    }

    TempDir dir_;
    TestJobHost host_;
    FaultyTargetFiles files_;
    JobRequest request_;
    std::string name_;
    const std::string old_ = BinaryTestData(5000, 9);
};

// --- Every way a read can fail, on every kind, with and without an older image --------

struct Fault {
    const char* name;
    std::function<void(SimulatedFloppy&, TestJobHost&, FaultyTargetFiles&)> apply;
    JobEnd end;
    unsigned messageId;
    int progress;  // Progress notices before the end
};

const Fault kFaults[] = {
    {"FirstSectorUnreadable", [](SimulatedFloppy& d, TestJobHost&, FaultyTargetFiles&) { d.MakeUnreadable(0); },
     JobEnd::Failed, IDS_SECTOR_READ_FAILED_AT, 0},
    {"MiddleSectorUnreadable", [](SimulatedFloppy& d, TestJobHost&, FaultyTargetFiles&) { d.MakeUnreadable(1440); },
     JobEnd::Failed, IDS_SECTOR_READ_FAILED_AT, 72},
    {"LastSectorUnreadable", [](SimulatedFloppy& d, TestJobHost&, FaultyTargetFiles&) { d.MakeUnreadable(2879); },
     JobEnd::Failed, IDS_SECTOR_READ_FAILED_AT, kUnits1440 - 1},
    {"CancelAfterTheFirstUnit", [](SimulatedFloppy&, TestJobHost& h, FaultyTargetFiles&) { h.cancelAfterProgress = 0; },
     JobEnd::Cancelled, 0, 0},
    {"CancelHalfway", [](SimulatedFloppy&, TestJobHost& h, FaultyTargetFiles&) { h.cancelAfterProgress = 72; },
     JobEnd::Cancelled, 0, 72},
    {"CancelWhileTheImageIsCompleted",
     [](SimulatedFloppy&, TestJobHost& h, FaultyTargetFiles&) { h.cancelAfterProgress = kUnits1440; },
     JobEnd::Cancelled, 0, kUnits1440},
    {"TargetWillNotBeReplaced", [](SimulatedFloppy&, TestJobHost&, FaultyTargetFiles& f) { f.failReplace = true; },
     JobEnd::Failed, IDS_UNABLE_TO_CREATE, kUnits1440},
    {"NoNameForTheImage", [](SimulatedFloppy&, TestJobHost&, FaultyTargetFiles& f) { f.everyNameTaken = true; },
     JobEnd::Failed, IDS_UNABLE_TO_CREATE, 0},
};

void PrintTo(const Fault& fault, std::ostream* out) { *out << fault.name; }

using FaultCase = std::tuple<Fault, const char*, bool>;

class ReadTargetFaults : public ReadTarget, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(ReadTargetFaults, LeaveTheTargetAsItWasAndNoImageBesideIt) {
    const Fault& fault = std::get<0>(GetParam());
    const bool existing = std::get<2>(GetParam());
    Aim(std::string("disk") + std::get<1>(GetParam()), existing);
    SimulatedFloppy disk(18);
    fault.apply(disk, host_, files_);

    const JobOutcome outcome = Run(disk);

    EXPECT_EQ(outcome.end, fault.end);
    EXPECT_EQ(outcome.messageId, fault.messageId);
    if (fault.messageId != 0) {
        EXPECT_THAT(host_.sink.Ids(), ElementsAre(fault.messageId));
    } else {
        EXPECT_THAT(host_.sink.Ids(), IsEmpty());
    }
    if (fault.messageId == IDS_UNABLE_TO_CREATE) {
        EXPECT_EQ(host_.sink.shown[0].text, Path()) << "the message names the target";
    }
    EXPECT_EQ(host_.Count(JobNotice::Progress), fault.progress);
    EXPECT_EQ(host_.Count(JobNotice::Finished), 0);
    ExpectTargetAsBefore(existing);
    EXPECT_TRUE(disk.EveryOpenClosed());
}

INSTANTIATE_TEST_SUITE_P(
    EveryFaultAndKind, ReadTargetFaults,
    ::testing::Combine(::testing::ValuesIn(kFaults), ::testing::Values(".img", ".imz", ".exe"),
                       ::testing::Bool()),
    [](const ::testing::TestParamInfo<FaultCase>& param) {
        return std::string(std::get<0>(param.param).name) + "_" + (std::get<1>(param.param) + 1) +
               (std::get<2>(param.param) ? "_OverOlderImage" : "_New");
    });

// --- A finished read ----------------------------------------------------------------

TEST_F(ReadTarget, FinishedReadReplacesTheOlderImage) {
    for (const char* name : {"disk.img", "disk.imz", "disk.exe"}) {
        SCOPED_TRACE(name);
        Aim(name, true);
        SimulatedFloppy disk(18);
        EXPECT_EQ(Run(disk).end, JobEnd::Finished);
        ExpectNewImage(disk);
        ASSERT_EQ(files_.replaced.size(), 1u);
        EXPECT_EQ(files_.replaced[0], Path() + ".tmp");
        files_ = FaultyTargetFiles();
        ASSERT_TRUE(files_.Remove(Path().c_str()));
    }
}

// Someone else's files of the names the job would take first are left alone.
TEST_F(ReadTarget, FilesOfTheTemporaryNamesAreNotTouched) {
    Aim("disk.imz", true);
    WriteWholeFile(Path() + ".tmp", "not ours");
    WriteWholeFile(Path() + ".1.tmp", "nor this");
    SimulatedFloppy disk(18);
    EXPECT_EQ(Run(disk).end, JobEnd::Finished);
    ASSERT_EQ(files_.replaced.size(), 1u);
    EXPECT_EQ(files_.replaced[0], Path() + ".2.tmp");
    EXPECT_EQ(ReadWholeFile(Path() + ".tmp"), "not ours");
    EXPECT_EQ(ReadWholeFile(Path() + ".1.tmp"), "nor this");
    EXPECT_THAT(FileNamesIn(dir_.path()),
                ElementsAre("disk.imz", "disk.imz.1.tmp", "disk.imz.tmp", kProgram));
}

// The job's failure stands even when its partial image will not go away.
TEST_F(ReadTarget, ImageThatWillNotGoIsNeverASuccess) {
    Aim("disk.img", true);
    SimulatedFloppy disk(18);
    files_.failReplace = true;
    files_.failRemove = true;
    const JobOutcome outcome = Run(disk);
    EXPECT_EQ(outcome.end, JobEnd::Failed);
    EXPECT_EQ(outcome.messageId, static_cast<unsigned>(IDS_UNABLE_TO_CREATE));
    EXPECT_EQ(host_.Count(JobNotice::Finished), 0);
    EXPECT_TRUE(ReadWholeFile(Path()) == old_);
    EXPECT_FALSE(files_.removed.empty());
}

// --- A cancel at the end: what the outcome says is what happened to the file ------------

TEST_F(ReadTarget, CancelNearTheEndAgreesWithTheFile) {
    struct Case {
        const char* name;
        int cancelAfterProgress;
        bool cancelDuringReplace;
        JobEnd end;
    };
    const Case cases[] = {
        {"BeforeTheLastUnit", kUnits1440 - 1, false, JobEnd::Cancelled},
        {"AfterTheLastUnit", kUnits1440, false, JobEnd::Cancelled},
        // Too late: the image has taken its place, and the job says so.
        {"WhileTheImageTakesItsPlace", -1, true, JobEnd::Finished},
        {"Never", -1, false, JobEnd::Finished},
    };
    for (const Case& c : cases) {
        for (bool existing : {true, false}) {
            SCOPED_TRACE(std::string(c.name) + (existing ? " over an older image" : " new"));
            host_ = TestJobHost();
            host_.programPath = dir_.File(kProgram);
            host_.cancelAfterProgress = c.cancelAfterProgress;
            files_ = FaultyTargetFiles();
            if (c.cancelDuringReplace) files_.onReplace = [this] { host_.cancelled = true; };
            Aim("disk.imz", existing);
            SimulatedFloppy disk(18);

            const JobOutcome outcome = Run(disk);

            EXPECT_EQ(outcome.end, c.end);
            if (outcome.end == JobEnd::Finished) {
                EXPECT_EQ(host_.Count(JobNotice::Finished), 1);
                ExpectNewImage(disk);
            } else {
                EXPECT_TRUE(host_.posts.empty() ||
                            host_.posts.back().notice == JobNotice::Progress);
                ExpectTargetAsBefore(existing);
            }
            EXPECT_THAT(host_.sink.Ids(), IsEmpty());
            remove(Path().c_str());
        }
    }
}

// --- A full hard disk, wherever it strikes ---------------------------------------------------

#ifndef _WIN32
TEST_F(ReadTarget, FullHardDiskLeavesTheOlderImage) {
    // How long a whole compressed image of the sample disk is, trailer included.
    Aim("probe.imz", false);
    {
        SimulatedFloppy disk(18);
        ASSERT_EQ(Run(disk).end, JobEnd::Finished);
    }
    const size_t compressedImage = ReadWholeFile(Path()).size();
    ASSERT_TRUE(files_.Remove(Path().c_str()));

    const struct {
        const char* name;
        const char* target;
        rlim_t room;
    } cases[] = {
        {"WhileCopying", "full.img", 100000},
        {"InTheStub", "full.exe", 10000},
        // The last block of the stream goes out when the stream is completed.
        {"WhileCompleting", "full.imz", compressedImage - kImageTrailerSize - 100},
        {"InTheTrailer", "full.imz", compressedImage - 100},
        {"InTheTrailerOfARawImage", "full.img", 1474560},
    };
    for (const auto& c : cases) {
        for (bool existing : {true, false}) {
            SCOPED_TRACE(std::string(c.name) + (existing ? " over an older image" : " new"));
            host_ = TestJobHost();
            host_.programPath = dir_.File(kProgram);
            Aim(c.target, existing);
            SimulatedFloppy disk(18);
            JobOutcome outcome;
            {
                FileSizeLimit full(c.room);
                ASSERT_TRUE(full.active());
                outcome = Run(disk);
            }
            EXPECT_EQ(outcome.end, JobEnd::Failed);
            EXPECT_EQ(host_.sink.Ids().size(), 1u);
            ExpectTargetAsBefore(existing);
            remove(Path().c_str());
        }
    }
}
#endif

}  // namespace
