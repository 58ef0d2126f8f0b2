// A cancel is taken before the next request to the drive, not after the unit: with bad
// sectors and 20 retries one unit is hundreds of requests.
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "engine/job/floppy_job_runner.h"
#include "tests/support/binary_data.h"
#include "tests/support/image_files.h"
#include "tests/support/job_test_host.h"
#include "tests/support/simulated_floppy.h"
#include "tests/support/temp_dir.h"

namespace {

enum class Mode { EmergencyRead, Reread, Write, Verify };

struct CancelCase {
    const char* name;
    Mode mode;
};

class CancelBeforeEachRequest : public ::testing::TestWithParam<CancelCase> {};

TEST_P(CancelBeforeEachRequest, NoRequestAfterTheCancel) {
    const Mode mode = GetParam().mode;
    TempDir dir;
    const bool write = mode == Mode::Write || mode == Mode::Verify;
    JobRequest request;
    request.kind = write ? JobKind::Write : JobKind::Read;
    const std::string path = dir.File(write ? "source.img" : "old.img");
    snprintf(request.imagePath, sizeof request.imagePath, "%s", path.c_str());
    request.verify = mode == Mode::Verify;
    request.retries = 20;
    SimulatedFloppy disk(18);
    // Units 1 and 2 will not read: 40 sectors, each tried 21 times after a head move.
    for (uint32_t s = 20; s < 60; ++s) disk.MakeUnreadable(s);
    OneSimulatedFloppy devices(disk);
    TestJobHost host;
    request.emergency = true;
    if (mode == Mode::Reread) {
        ASSERT_EQ(RunFloppyJob(request, host, devices).end, JobEnd::Finished);
        request.rereadMappedSectors = true;
        host = TestJobHost();
    }
    if (write) WriteWholeFile(path, BinaryTestData(1474560, 2880));
    const std::string before = ReadWholeFile(path);

    // Cancelled as the first unit's progress is shown (the read-back's, for Verify).
    size_t requestsAtCancel = 0;
    host.onPost = [&](const TestJobHost::Posted& p) {
        const bool due = mode == Mode::Verify ? p.progress.phase == JobPhase::Verify &&
                                                    p.progress.kilobytesCopied > 0
                                              : p.notice == JobNotice::Progress;
        if (due && !host.cancelled) {
            host.cancelled = true;
            requestsAtCancel = disk.transfers().size();
        }
    };
    const JobOutcome outcome = RunFloppyJob(request, host, devices);

    ASSERT_TRUE(host.cancelled);
    EXPECT_EQ(disk.transfers().size(), requestsAtCancel) << "requests after the cancel";
    EXPECT_EQ(outcome.end, JobEnd::Cancelled);
    EXPECT_EQ(host.Count(JobNotice::Failed), 0);
    EXPECT_TRUE(host.sink.shown.empty());
    EXPECT_TRUE(disk.EveryOpenClosed());
    EXPECT_TRUE(ReadWholeFile(path) == before) << "the target changed";
}

INSTANTIATE_TEST_SUITE_P(BothJobs, CancelBeforeEachRequest,
                         ::testing::Values(CancelCase{"EmergencyRead", Mode::EmergencyRead},
                                           CancelCase{"Reread", Mode::Reread},
                                           CancelCase{"Write", Mode::Write},
                                           CancelCase{"Verify", Mode::Verify}),
                         [](const ::testing::TestParamInfo<CancelCase>& p) {
                             return std::string(p.param.name);
                         });

}  // namespace
