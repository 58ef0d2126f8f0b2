// The job runner over the simulated floppy: which job a request names, which device it
// gets, and the outcome it hands back - finished, failed with the message the user saw,
// or cancelled - while the host still hears everything the job says.
#include "engine/job/floppy_job_runner.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "resources/string_ids.h"
#include "tests/support/binary_data.h"
#include "tests/support/image_files.h"
#include "tests/support/job_test_host.h"
#include "tests/support/simulated_floppy.h"
#include "tests/support/slow_floppy_devices.h"
#include "tests/support/temp_dir.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr size_t kBytes1440 = 1474560;

// One simulated drive for every drive letter, with a record of the letters asked for.
class OneFloppy final : public FloppyDeviceFactory {
public:
    explicit OneFloppy(SimulatedFloppy& disk) : disk_(disk) {}

    FloppyDevice& DeviceFor(const char* driveText) override {
        asked.push_back(driveText);
        return disk_;
    }
    TargetFiles* Files() override { return &files; }
    SystemTargetFiles files{true};

    std::vector<std::string> asked;

private:
    SimulatedFloppy& disk_;
};

class JobRunner : public ::testing::Test {
protected:
    JobRequest Request(JobKind kind, const std::string& name) {
        JobRequest request;
        request.kind = kind;
        const std::string path = dir_.File(name);
        EXPECT_LT(path.size(), sizeof request.imagePath);
        strcpy(request.imagePath, path.c_str());
        strcpy(request.drive, drive_.c_str());
        return request;
    }

    // Makes the image `name` of `disk` with a read job through the runner.
    void MakeImage(SimulatedFloppy& disk, const std::string& name) {
        TestJobHost host;
        OneFloppy devices(disk);
        EXPECT_EQ(RunFloppyJob(Request(JobKind::Read, name), host, devices).end,
                  JobEnd::Finished);
    }

    TempDir dir_;
    TestJobHost host_;
    std::string drive_ = "A:";  // of the requests made
};

// --- Finished ---------------------------------------------------------------------------------

TEST_F(JobRunner, KindChoosesTheJobAndTheHostsDriveTheDevice) {
    for (const char* name : {"disk.img", "disk.imz"}) {
        SCOPED_TRACE(name);
        SimulatedFloppy original(18);
        SetDiskBytes(original, BinaryTestData(kBytes1440, 61));
        host_ = TestJobHost();
        drive_ = "B:";
        OneFloppy reading(original);

        const JobOutcome read = RunFloppyJob(Request(JobKind::Read, name), host_, reading);

        EXPECT_EQ(read.end, JobEnd::Finished);
        EXPECT_EQ(read.messageId, 0u);
        EXPECT_THAT(reading.asked, ElementsAre("B:"));
        EXPECT_EQ(host_.Outcome(), JobNotice::Finished) << "the host missed the job's end";
        EXPECT_EQ(host_.Count(JobNotice::Progress), 144);
        EXPECT_TRUE(original.EveryOpenClosed());
        for (const SimulatedFloppy::Transfer& t : original.transfers()) EXPECT_FALSE(t.write);

        SimulatedFloppy copy(18);
        host_ = TestJobHost();
        OneFloppy writing(copy);
        const JobOutcome written =
            RunFloppyJob(Request(JobKind::Write, name), host_, writing);

        EXPECT_EQ(written.end, JobEnd::Finished);
        EXPECT_TRUE(DiskBytes(copy) == DiskBytes(original)) << "not the disk that was read";
        EXPECT_TRUE(copy.EveryOpenClosed());
    }
}

// --- Failed, with the message the user was shown ------------------------------------------------

struct FailureCase {
    const char* name;
    JobKind kind;
    const char* image;
    void (*fault)(SimulatedFloppy&);
    unsigned messageId;
};

const FailureCase kFailures[] = {
    {"UnknownFormat", JobKind::Read, "x.img", [](SimulatedFloppy& d) { d.ReportSectorsPerTrack(15); },
     IDS_UNKNOWN_FLOPPY_TYPE},
    {"DriveDoesNotOpen", JobKind::Read, "x.imz", [](SimulatedFloppy& d) { d.FailOpen(false, true); },
     IDS_UNABLE_TO_OPEN},
    {"TargetCannotBeCreated", JobKind::Read, "no-folder/x.img", [](SimulatedFloppy&) {},
     IDS_UNABLE_TO_CREATE},
    {"UnreadableSector", JobKind::Read, "x.imz", [](SimulatedFloppy& d) { d.MakeUnreadable(700); },
     IDS_SECTOR_READ_FAILED_AT},
    {"WriteProtected", JobKind::Write, "disk.imz", [](SimulatedFloppy& d) { d.SetWriteProtected(true); },
     IDS_WRITE_PROTECTED},
    {"OtherDensity", JobKind::Write, "disk.imz", [](SimulatedFloppy& d) { d.ReportSectorsPerTrack(9); },
     IDS_DISK_NEEDS_OTHER_DENSITY},
};

class JobRunnerFailures : public JobRunner,
                          public ::testing::WithParamInterface<FailureCase> {};

TEST_P(JobRunnerFailures, FailWithTheMessageShown) {
    const FailureCase& c = GetParam();
    SimulatedFloppy source(18);
    MakeImage(source, "disk.imz");
    SimulatedFloppy disk(18);
    c.fault(disk);
    OneFloppy devices(disk);

    const JobOutcome outcome = RunFloppyJob(Request(c.kind, c.image), host_, devices);

    EXPECT_EQ(outcome.end, JobEnd::Failed);
    EXPECT_EQ(outcome.messageId, c.messageId);
    EXPECT_THAT(host_.sink.Ids(), ElementsAre(c.messageId)) << "the host's sink missed it";
    EXPECT_EQ(host_.Outcome(), JobNotice::Failed);
    EXPECT_TRUE(disk.EveryOpenClosed());
}

std::string FailureName(const ::testing::TestParamInfo<FailureCase>& info) {
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Outcomes, JobRunnerFailures, ::testing::ValuesIn(kFailures), FailureName);

// --- Cancelled ----------------------------------------------------------------------------------

TEST_F(JobRunner, CancelledJobsEndWithoutANoticeOrAMessage) {
    SimulatedFloppy source(18);
    MakeImage(source, "disk.imz");
    for (JobKind kind : {JobKind::Read, JobKind::Write}) {
        SCOPED_TRACE(kind == JobKind::Read ? "read" : "write");
        host_ = TestJobHost();
        host_.cancelAfterProgress = 3;
        SimulatedFloppy disk(18);
        OneFloppy devices(disk);
        const JobRequest request =
            Request(kind, kind == JobKind::Read ? "partial.imz" : "disk.imz");

        const JobOutcome outcome = RunFloppyJob(request, host_, devices);

        EXPECT_EQ(outcome.end, JobEnd::Cancelled);
        EXPECT_EQ(outcome.messageId, 0u);
        EXPECT_THAT(host_.sink.Ids(), IsEmpty());
        EXPECT_EQ(host_.Outcome(), JobNotice::Progress) << "a cancelled job posted its end";
        EXPECT_EQ(host_.Count(JobNotice::Progress), 3);
        EXPECT_TRUE(disk.EveryOpenClosed());
    }
    EXPECT_FALSE(FileExists(dir_.File("partial.imz"))) << "the partial image stayed";
}

// --- Another factory's devices, slowed ------------------------------------------------------------

// The end-to-end tests' build of the program slows each unit this way; the job must see
// the same disk through it.
TEST_F(JobRunner, SlowedDevicesPauseOncePerUnitAndChangeNothing) {
    SimulatedFloppy original(9);
    OneFloppy platform(original);
    int pauses = 0;
    SlowFloppyDevices slowed(platform, [&pauses] { ++pauses; });
    JobRequest request = Request(JobKind::Read, "slow.img");
    request.emergency = true;

    EXPECT_EQ(RunFloppyJob(request, host_, slowed).end, JobEnd::Finished);

    EXPECT_EQ(pauses, static_cast<int>(original.transfers().size()));
    EXPECT_EQ(pauses, 72 + 1);  // every unit, as in a normal read, then the read that finds the end
    const std::string disk = DiskBytes(original);
    EXPECT_TRUE(ReadWholeFile(request.imagePath).compare(0, disk.size(), disk) == 0);
    EXPECT_TRUE(original.EveryOpenClosed());
}

}  // namespace
