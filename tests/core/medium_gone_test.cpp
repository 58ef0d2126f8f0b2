// A medium that vanishes mid-job (pulled out, the USB drive unplugged) is no bad sector:
// in every mode the job stops at once with "not ready", and nothing it made replaces
// the old target or its map.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "engine/job/floppy_job_runner.h"
#include "resources/string_ids.h"
#include "tests/support/binary_data.h"
#include "tests/support/image_files.h"
#include "tests/support/job_test_host.h"
#include "tests/support/simulated_floppy.h"
#include "tests/support/temp_dir.h"

namespace {

using ::testing::ElementsAre;

enum class Mode { Read, Emergency, Reread, Write, Verify };

struct GoneCase {
    const char* name;
    Mode mode;
    uint32_t vanishAt;  // the request from which the medium is gone
};

class MediumGone : public ::testing::TestWithParam<GoneCase> {
protected:
    // For the reads: an earlier image of the disk and its map (sector 100 lost).
    void MakeEarlierImage() {
        SimulatedFloppy disk(18);
        disk.MakeUnreadable(100);
        TestJobHost host;
        JobRequest request = Request(Mode::Emergency);
        request.emergency = true;
        OneSimulatedFloppy devices(disk);
        ASSERT_EQ(RunFloppyJob(request, host, devices).end, JobEnd::Finished);
    }

    JobRequest Request(Mode mode) const {
        JobRequest request;
        const bool write = mode == Mode::Write || mode == Mode::Verify;
        request.kind = write ? JobKind::Write : JobKind::Read;
        snprintf(request.imagePath, sizeof request.imagePath, "%s",
                 dir_.File(write ? "source.img" : "old.img").c_str());
        request.verify = mode == Mode::Verify;
        request.rereadMappedSectors = mode == Mode::Reread;
        request.retries = 20;
        request.emergency = mode == Mode::Emergency || mode == Mode::Reread;
        return request;
    }

    TempDir dir_;
};

TEST_P(MediumGone, StopsTheJobAndKeepsTheOldTarget) {
    const GoneCase& c = GetParam();
    MakeEarlierImage();
    const std::string image = ReadWholeFile(dir_.File("old.img"));
    const std::string map = ReadWholeFile(dir_.File("old.img.map"));
    WriteWholeFile(dir_.File("source.img"), BinaryTestData(1474560, 2880));

    TestJobHost host;
    const JobRequest request = Request(c.mode);
    SimulatedFloppy disk(18);
    // A bad sector as well, which the emergency reads try again and again.
    if (request.emergency) disk.MakeUnreadable(100);
    disk.VanishAt(c.vanishAt);
    OneSimulatedFloppy devices(disk);
    const JobOutcome outcome = RunFloppyJob(request, host, devices);

    EXPECT_EQ(outcome.end, JobEnd::Failed);
    EXPECT_EQ(outcome.messageId, static_cast<unsigned>(IDS_DRIVE_NOT_READY));
    ASSERT_THAT(host.sink.Ids(), ElementsAre(IDS_DRIVE_NOT_READY));
    EXPECT_EQ(host.sink.shown[0].text, "A:");
    EXPECT_EQ(host.Outcome(), JobNotice::Failed);
    EXPECT_EQ(disk.transfers().size(), c.vanishAt + 1) << "requests after the medium had gone";
    EXPECT_TRUE(disk.EveryOpenClosed());
    EXPECT_TRUE(ReadWholeFile(dir_.File("old.img")) == image) << "the old image was replaced";
    EXPECT_EQ(ReadWholeFile(dir_.File("old.img.map")), map) << "the old map was replaced";
    EXPECT_THAT(FileNamesIn(dir_.path()), ElementsAre("old.img", "old.img.map", "source.img"));
}

// A read of 1.44 MB is 144 units; sector 100 lies in unit 5 (request 5), read again
// sector by sector from request 6, where sector 100 fails and is tried again from
// request 7 on: a head move, then the sector, 20 times. A re-read first compares the
// boot sector and the 19 others of that unit (requests 0 to 19), then tries sector 100.
INSTANTIATE_TEST_SUITE_P(
    EveryMode, MediumGone,
    ::testing::Values(GoneCase{"Read", Mode::Read, 30}, GoneCase{"ReadAtItsFirstRequest", Mode::Read, 0},
                      GoneCase{"EmergencyRead", Mode::Emergency, 60},
                      GoneCase{"EmergencyReadSectorBySector", Mode::Emergency, 6},
                      GoneCase{"EmergencyReadAtAHeadMove", Mode::Emergency, 27},
                      GoneCase{"EmergencyReadAtARetry", Mode::Emergency, 32},
                      GoneCase{"RereadComparing", Mode::Reread, 0},
                      GoneCase{"RereadAtTheMappedSector", Mode::Reread, 20},
                      GoneCase{"RereadAtARetry", Mode::Reread, 26},
                      GoneCase{"Write", Mode::Write, 40}, GoneCase{"Verify", Mode::Verify, 144 + 3}),
    [](const ::testing::TestParamInfo<GoneCase>& p) { return std::string(p.param.name); });

}  // namespace
