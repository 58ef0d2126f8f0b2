// Every fault a job can meet, at each of the 72 unit positions of a 720 kB disk, for both
// jobs: the read job makes "disk.img" over an older file of that name, the write job
// writes a raw image onto the disk. Whatever the fault, the job ends with its message,
// outcome and exit status, leaves no drive or file open, and claims nothing it did not
// do: a failed read keeps the older target and leaves no file behind, a failed write
// stops at the unit that failed.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "engine/job/floppy_job_runner.h"
#include "engine/job/job_outcome.h"
#include "engine/job/job_request.h"
#include "resources/string_ids.h"
#include "tests/support/binary_data.h"
#include "tests/support/counting_files.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/image_files.h"
#include "tests/support/job_test_host.h"
#include "tests/support/made_images.h"
#include "tests/support/simulated_floppy.h"
#include "tests/support/temp_dir.h"

namespace {

constexpr uint32_t kSectorsPerTrack = 9;  // 720 kB: 1,440 sectors
constexpr uint32_t kUnitSectors = 20;
constexpr uint32_t kUnitBytes = kUnitSectors * FloppyDevice::kSectorSize;
constexpr int kUnits = 72;
constexpr size_t kDiskBytes = kUnits * kUnitBytes;

enum class Fault {
    DeviceRead,    // a sector of the unit cannot be read
    DeviceWrite,   // a sector of the unit cannot be written
    WriteProtect,  // the medium is write-protected from the unit on
    Cancel,        // the user cancels once the unit's progress is due
    TargetFull,    // the image file's disk fills up within the unit
    TargetClose,   // closing a file fails (its last bytes are lost)
    ImageRead,     // the image file cannot be read past the unit
    MediumGone,    // the medium vanishes at the unit's request
};

const char* NameOf(Fault fault) {
    switch (fault) {
    case Fault::DeviceRead: return "DeviceRead";
    case Fault::DeviceWrite: return "DeviceWrite";
    case Fault::WriteProtect: return "WriteProtect";
    case Fault::Cancel: return "Cancel";
    case Fault::TargetFull: return "TargetFull";
    case Fault::TargetClose: return "TargetClose";
    case Fault::ImageRead: return "ImageRead";
    case Fault::MediumGone: return "MediumGone";
    }
    return "?";
}

struct Expected {
    JobEnd end;
    unsigned message;  // shown once when the job failed; 0 otherwise
};

// A fault that touches nothing the job uses must not disturb it.
Expected ExpectedFor(JobKind job, Fault fault) {
    const Expected finished{JobEnd::Finished, 0};
    if (fault == Fault::Cancel) {
        return {JobEnd::Cancelled, 0};
    }
    if (fault == Fault::MediumGone) {
        return {JobEnd::Failed, IDS_DRIVE_NOT_READY};
    }
    if (job == JobKind::Read) {
        switch (fault) {
        case Fault::DeviceRead: return {JobEnd::Failed, IDS_SECTOR_READ_FAILED_AT};
        case Fault::TargetFull:
        case Fault::TargetClose: return {JobEnd::Failed, IDS_IMAGE_WRITE_FAILED};
        default: return finished;
        }
    }
    switch (fault) {
    case Fault::DeviceRead: return {JobEnd::Failed, IDS_VERIFY_MISMATCH};  // in the read-back
    case Fault::DeviceWrite: return {JobEnd::Failed, IDS_SECTOR_WRITE_FAILED};
    case Fault::WriteProtect: return {JobEnd::Failed, IDS_WRITE_PROTECTED};
    case Fault::ImageRead: return {JobEnd::Failed, IDS_IMAGE_READ_FAILED};
    default: return finished;
    }
}

bool NeedsFileLayer(Fault fault) {
    return fault == Fault::TargetFull || fault == Fault::TargetClose || fault == Fault::ImageRead;
}

const std::string kOlderTarget = "an older image that must survive a failed read";

class FaultMatrix : public ::testing::TestWithParam<std::tuple<JobKind, Fault>> {
protected:
    void SetUp() override {
        image_ = BinaryTestData(kDiskBytes, 1440);
        // The write job takes the format from the image's own trailer.
        source_ = WithTrailerText(image_ + std::string(1024, '\0'),
                                  "[FileVersion 002] [Description Matrix\x01] [SectorsPerTrack " +
                                      std::to_string(kSectorsPerTrack) + "]");
        WriteWholeFile(dir_.File("image.img"), source_);
        WriteWholeFile(dir_.File("disk.img"), kOlderTarget);
    }

    JobKind Job() const { return std::get<0>(GetParam()); }
    Fault TheFault() const { return std::get<1>(GetParam()); }

    JobRequest Request() const {
        JobRequest request;
        request.kind = Job();
        const std::string path = dir_.File(Job() == JobKind::Read ? "disk.img" : "image.img");
        snprintf(request.imagePath, sizeof request.imagePath, "%s", path.c_str());
        request.verify = Job() == JobKind::Write;  // so that a read error can reach it
        return request;
    }

    // Runs the job with the fault in unit `unit` and checks everything it left.
    void RunWithFaultAt(int unit) {
        SCOPED_TRACE(std::string(Job() == JobKind::Read ? "read" : "write") + " job, " +
                     NameOf(TheFault()) + " in unit " + std::to_string(unit));
        SimulatedFloppy floppy(kSectorsPerTrack);
        const std::string before = DiskBytes(floppy);
        const uint32_t faultySector = static_cast<uint32_t>(unit) * kUnitSectors + 7;
        TestJobHost host;
        CountingFiles files;
        switch (TheFault()) {
        case Fault::DeviceRead: floppy.MakeUnreadable(faultySector); break;
        case Fault::DeviceWrite: floppy.FailWriteAt(faultySector); break;
        case Fault::WriteProtect:
            floppy.SetWriteProtected(unit == 0);
            host.onPost = [&floppy, &host, unit](const TestJobHost::Posted&) {
                if (host.Count(JobNotice::Progress) == unit) floppy.SetWriteProtected(true);
            };
            break;
        case Fault::Cancel: host.cancelAfterProgress = unit; break;
        case Fault::MediumGone: floppy.VanishAt(static_cast<uint32_t>(unit)); break;
        case Fault::TargetClose: files.failEveryClose = true; break;
        case Fault::ImageRead: files.readLimit = static_cast<long>(unit) * kUnitBytes; break;
        case Fault::TargetFull: break;
        }

        JobOutcome outcome;
        OneSimulatedFloppy devices(floppy);
        {
#ifndef _WIN32
            FileSizeLimit full(TheFault() == Fault::TargetFull ? unit * kUnitBytes + 512 : RLIM_INFINITY);
#endif
            outcome = RunFloppyJob(Request(), host, devices);
        }

        const Expected expected = ExpectedFor(Job(), TheFault());
        EXPECT_EQ(outcome.end, expected.end);
        EXPECT_EQ(static_cast<int>(outcome.end), static_cast<int>(expected.end)) << "exit status";
        EXPECT_EQ(outcome.messageId, expected.message);
        if (expected.message != 0) {
            EXPECT_EQ(host.sink.Ids(), std::vector<unsigned>{expected.message});
        } else {
            EXPECT_TRUE(host.sink.shown.empty());
        }
        EXPECT_EQ(host.Count(JobNotice::Finished), expected.end == JobEnd::Finished ? 1 : 0)
            << "a job that did not finish claims it did";
        EXPECT_EQ(host.Count(JobNotice::Failed), expected.end == JobEnd::Failed ? 1 : 0);

        EXPECT_TRUE(floppy.EveryOpenClosed());
        EXPECT_FALSE(floppy.IsOpen());
        EXPECT_FALSE(floppy.LockHeld());
        if (CountingFiles::Available()) {
            EXPECT_GT(files.opens, 0) << "the counting layer saw no file";
            EXPECT_EQ(files.OpenNow(), 0) << files.opens << " opened, " << files.closes << " closed";
        }
        EXPECT_EQ(ReadWholeFile(dir_.File("image.img")), source_) << "the source changed";
        EXPECT_EQ(FileNamesIn(dir_.path()), (std::vector<std::string>{"disk.img", "image.img"}))
            << "a file was left behind";

        if (Job() == JobKind::Read) {
            EXPECT_EQ(DiskBytes(floppy), before) << "a read changed the disk";
            const std::string target = ReadWholeFile(dir_.File("disk.img"));
            if (expected.end == JobEnd::Finished) {
                EXPECT_EQ(target.size(), kDiskBytes + 1024);
                EXPECT_TRUE(target.compare(0, kDiskBytes, before) == 0) << "the image is not the disk";
            } else {
                EXPECT_EQ(target, kOlderTarget) << "the older target was changed";
            }
            return;
        }
        // The write job: the units before the fault are the image's, the rest the disk's
        // own. A cancel is seen before the unit's write; a bad image stops everything.
        size_t written = kDiskBytes;
        if (TheFault() == Fault::DeviceWrite || TheFault() == Fault::WriteProtect ||
            TheFault() == Fault::Cancel || TheFault() == Fault::MediumGone) {
            written = static_cast<size_t>(unit) * kUnitBytes;
        } else if (TheFault() == Fault::ImageRead) {
            written = 0;
        }
        const std::string disk = DiskBytes(floppy);
        EXPECT_TRUE(disk.compare(0, written, image_, 0, written) == 0) << "written units differ";
        EXPECT_TRUE(disk.compare(written, std::string::npos, before, written, std::string::npos) == 0)
            << "the disk changed past the fault";
    }

    TempDir dir_;
    std::string image_;
    std::string source_;  // image.img: the image and its trailer
};

TEST_P(FaultMatrix, AtEveryUnit) {
    if (NeedsFileLayer(TheFault()) && !CountingFiles::Available()) {
        GTEST_SKIP() << "the counting file layer and file size limit are native only";
    }
    for (int unit = 0; unit < kUnits && !HasFailure(); ++unit) {
        RunWithFaultAt(unit);
    }
}

INSTANTIATE_TEST_SUITE_P(
    BothJobs, FaultMatrix,
    ::testing::Combine(::testing::Values(JobKind::Read, JobKind::Write),
                       ::testing::Values(Fault::DeviceRead, Fault::DeviceWrite, Fault::WriteProtect,
                                         Fault::Cancel, Fault::TargetFull, Fault::TargetClose,
                                         Fault::ImageRead, Fault::MediumGone)),
    [](const ::testing::TestParamInfo<FaultMatrix::ParamType>& param) {
        return std::string(std::get<0>(param.param) == JobKind::Read ? "Read" : "Write") +
               NameOf(std::get<1>(param.param));
    });

}  // namespace
