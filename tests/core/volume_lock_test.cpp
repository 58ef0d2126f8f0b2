// The volume lock as both jobs use it, over the simulated drive: the write job stops
// before writing when files on the disk are open and goes on when the drive has no
// lock; the read job stops the same way for open files (read-job tests) and otherwise goes on
// whatever the answer. A taken lock never outlives the job.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string.h>

#include <functional>
#include <string>

#include "engine/job/read_floppy_job.h"
#include "engine/job/write_floppy_job.h"
#include "resources/string_ids.h"
#include "tests/support/binary_data.h"
#include "tests/support/image_files.h"
#include "tests/support/job_test_host.h"
#include "tests/support/simulated_floppy.h"
#include "tests/support/temp_dir.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr size_t kBytes1440 = 1474560;

const char* LockName(VolumeLock answer) {
    switch (answer) {
    case VolumeLock::Locked: return "Locked";
    case VolumeLock::InUse: return "InUse";
    case VolumeLock::Unsupported: break;
    }
    return "Unsupported";
}

size_t DiskHash(const SimulatedFloppy& disk) {
    return std::hash<std::string>()(DiskBytes(disk));
}

class VolumeLockJobs : public ::testing::Test {
protected:
    void AimAt(const std::string& name) {
        const std::string path = dir_.File(name);
        ASSERT_LT(path.size(), sizeof request_.imagePath);
        strcpy(request_.imagePath, path.c_str());
    }

    // A compressed image of `data` for the write job, whose disk format is named.
    void WriteSource(const std::string& data) {
        AimAt("source.imz");
        WriteWholeFile(request_.imagePath, CompressedStream(data));
    }

    int Write(SimulatedFloppy& disk) {
        WriteFloppyJob job(request_, host_, disk);
        const int result = job.Run();
        outcome_ = job.Outcome();
        return result;
    }

    int Read(SimulatedFloppy& disk) {
        ReadFloppyJob job(request_, host_, disk);
        const int result = job.Run();
        outcome_ = job.Outcome();
        return result;
    }

    // One lock request, for `access`, on the open transfer handle before any transfer;
    // nothing of it left once the job has ended.
    void ExpectOneLockBeforeTransfers(const SimulatedFloppy& disk, DeviceAccess access) {
        ASSERT_EQ(disk.locks().size(), 1u);
        EXPECT_EQ(disk.locks()[0].access, access);
        EXPECT_TRUE(disk.locks()[0].whileOpen) << "asked without the transfer handle";
        EXPECT_EQ(disk.locks()[0].transfersBefore, 0u) << "asked after the first transfer";
        EXPECT_FALSE(disk.LockHeld()) << "the lock outlived the job";
        EXPECT_TRUE(disk.EveryOpenClosed());
    }

    TempDir dir_;
    TestJobHost host_;
    JobRequest request_;
    JobOutcome outcome_;
};

// --- Write job -------------------------------------------------------------------------

class WriteJobLockAnswers : public VolumeLockJobs,
                            public ::testing::WithParamInterface<VolumeLock> {};

TEST_P(WriteJobLockAnswers, OnlyADiskInUseStopsTheWrite) {
    const VolumeLock answer = GetParam();
    strcpy(request_.drive, "B:");
    SimulatedFloppy disk(18);
    disk.AnswerLock(answer);
    const size_t before = DiskHash(disk);
    const std::string data = BinaryTestData(kBytes1440, 71);
    WriteSource(data);

    const int result = Write(disk);

    ExpectOneLockBeforeTransfers(disk, DeviceAccess::Write);
    if (answer == VolumeLock::InUse) {
        EXPECT_EQ(result, -1);
        EXPECT_THAT(host_.sink.Ids(), ElementsAre(static_cast<unsigned>(IDS_FLOPPY_IN_USE)));
        ASSERT_EQ(host_.sink.shown.size(), 1u);
        EXPECT_EQ(host_.sink.shown[0].text, "B:");
        EXPECT_EQ(host_.sink.shown[0].style, MessageStyle::Error);
        EXPECT_EQ(host_.Outcome(), JobNotice::Failed);
        EXPECT_EQ(outcome_.end, JobEnd::Failed);
        EXPECT_EQ(outcome_.messageId, static_cast<unsigned>(IDS_FLOPPY_IN_USE));
        EXPECT_TRUE(disk.transfers().empty()) << "a disk in use was written to";
        EXPECT_EQ(DiskHash(disk), before);
        EXPECT_EQ(host_.Count(JobNotice::Progress), 0);
        EXPECT_FALSE(disk.IsOpen());
    } else {
        EXPECT_EQ(result, 0);
        EXPECT_THAT(host_.sink.Ids(), IsEmpty());
        EXPECT_EQ(outcome_.end, JobEnd::Finished);
        EXPECT_TRUE(DiskBytes(disk) == data) << "the disk is not the image";
        EXPECT_EQ(disk.transfers().size(), 144u);
    }
    EXPECT_TRUE(NothingHoldsFile(request_.imagePath));
}

INSTANTIATE_TEST_SUITE_P(EveryAnswer, WriteJobLockAnswers,
                         ::testing::Values(VolumeLock::Locked, VolumeLock::InUse,
                                           VolumeLock::Unsupported),
                         [](const ::testing::TestParamInfo<VolumeLock>& param) {
                             return std::string(LockName(param.param));
                         });

// However the write ends once the lock is taken, the lock goes with the drive.
TEST_F(VolumeLockJobs, WriteReleasesTheLockOnEveryEndAfterTakingIt) {
    struct Case {
        const char* name;
        std::function<void(SimulatedFloppy&, TestJobHost&)> arrange;
        int result;
    };
    const Case cases[] = {
        {"Finished", [](SimulatedFloppy&, TestJobHost&) {}, 0},
        {"WriteProtected", [](SimulatedFloppy& d, TestJobHost&) { d.SetWriteProtected(true); }, -1},
        {"BadSector", [](SimulatedFloppy& d, TestJobHost&) { d.FailWriteAt(100); }, -1},
        {"Cancelled", [](SimulatedFloppy&, TestJobHost& h) { h.cancelAfterProgress = 3; }, -1},
    };
    const std::string data = BinaryTestData(kBytes1440, 72);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        host_ = TestJobHost();
        SimulatedFloppy disk(18);
        disk.AnswerLock(VolumeLock::Locked);
        c.arrange(disk, host_);
        WriteSource(data);

        EXPECT_EQ(Write(disk), c.result);

        ExpectOneLockBeforeTransfers(disk, DeviceAccess::Write);
        EXPECT_FALSE(disk.IsOpen());
    }
}

// A refusal before the drive is opened for writing asks for no lock at all.
TEST_F(VolumeLockJobs, WriteRefusedBeforeOpeningAsksForNoLock) {
    const struct {
        const char* name;
        std::string data;
        void (*fault)(SimulatedFloppy&);
    } cases[] = {
        {"TypeUnknown", BinaryTestData(kBytes1440, 73), [](SimulatedFloppy& d) { d.FailQuery(true); }},
        {"DriveDoesNotOpen", BinaryTestData(kBytes1440, 73),
         [](SimulatedFloppy& d) { d.FailOpen(false, true); }},
        {"ImageTooShort", BinaryTestData(kBytes1440 - 10240, 73), nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        host_ = TestJobHost();
        SimulatedFloppy disk(18);
        disk.AnswerLock(VolumeLock::InUse);
        if (c.fault) c.fault(disk);
        WriteSource(c.data);

        EXPECT_EQ(Write(disk), -1);

        EXPECT_THAT(disk.locks(), IsEmpty());
        EXPECT_THAT(host_.sink.Ids(), ::testing::Not(::testing::Contains(
                                          static_cast<unsigned>(IDS_FLOPPY_IN_USE))));
        EXPECT_TRUE(disk.transfers().empty());
    }
}

// --- Read job --------------------------------------------------------------------------

TEST_F(VolumeLockJobs, ReadCopiesTheDiskLockedOrWithoutALock) {
    for (VolumeLock answer : {VolumeLock::Locked, VolumeLock::Unsupported}) {
        SCOPED_TRACE(LockName(answer));
        host_ = TestJobHost();
        SimulatedFloppy disk(18);
        disk.AnswerLock(answer);
        AimAt(std::string("copy-") + LockName(answer) + ".img");
        request_.compatible = true;  // a bare image: the file is the disk

        EXPECT_EQ(Read(disk), 0);

        ExpectOneLockBeforeTransfers(disk, DeviceAccess::Read);
        EXPECT_THAT(host_.sink.Ids(), IsEmpty());
        EXPECT_EQ(outcome_.end, JobEnd::Finished);
        EXPECT_TRUE(ReadWholeFile(request_.imagePath) == DiskBytes(disk));
        for (const SimulatedFloppy::Transfer& t : disk.transfers()) EXPECT_FALSE(t.write);
    }
}

TEST_F(VolumeLockJobs, FailedOrCancelledReadReleasesTheLock) {
    for (bool cancel : {false, true}) {
        SCOPED_TRACE(cancel ? "cancelled" : "unreadable sector");
        host_ = TestJobHost();
        SimulatedFloppy disk(18);
        disk.AnswerLock(VolumeLock::Locked);
        if (cancel) {
            host_.cancelAfterProgress = 2;
        } else {
            disk.MakeUnreadable(300);
        }
        AimAt("partial.img");

        EXPECT_EQ(Read(disk), -1);

        ExpectOneLockBeforeTransfers(disk, DeviceAccess::Read);
        EXPECT_FALSE(FileExists(request_.imagePath));
    }
}

}  // namespace
