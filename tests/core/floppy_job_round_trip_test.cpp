// Disk -> image -> disk through both jobs, compared byte for byte.
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <tuple>

#include "engine/device/floppy_type.h"
#include "engine/image/image_kind.h"
#include "engine/image/image_trailer.h"
#include "engine/job/read_floppy_job.h"
#include "engine/job/write_floppy_job.h"
#include "tests/support/binary_data.h"
#include "tests/support/image_files.h"
#include "tests/support/job_test_host.h"
#include "tests/support/simulated_floppy.h"
#include "tests/support/temp_dir.h"

namespace {

using Flavour = SimulatedFloppy::Flavour;

// What the main dialog does between the two jobs: the image chosen for writing, its
// trailer read for the sectors per track.
struct RoundTrip {
    TempDir dir;
    JobRequest request;
    TestJobHost readHost;
    TestJobHost writeHost;
    bool emergency = false;   // of the read
    bool compatible = false;  // of the read
    int trailerSectorsPerTrack = 0;  // what the written image's trailer names

    explicit RoundTrip(const std::string& name) {
        const std::string path = dir.File(name);
        strcpy(request.imagePath, path.c_str());
        readHost.programPath = dir.File("vorlix.exe");
        WriteFakeProgram(readHost.programPath);
    }

    int Read(SimulatedFloppy& disk, Flavour flavour) {

        EXPECT_EQ(disk.KeepsPosition(), flavour == Flavour::Nt) << "the method counts as its disk";
        request.emergency = emergency;
        request.compatible = compatible;
        ReadFloppyJob job(request, readHost, disk);
        return job.Run();
    }

    int Write(SimulatedFloppy& disk, Flavour flavour) {

        EXPECT_EQ(disk.KeepsPosition(), flavour == Flavour::Nt) << "the method counts as its disk";
        char description[kDescriptionBufferSize];
        ReadImageTrailer(request.imagePath, writeHost.sink, description, &trailerSectorsPerTrack);
        WriteFloppyJob job(request, writeHost, disk);
        return job.Run();
    }
};

using Case = std::tuple<const char*, uint32_t>;

class FloppyJobRoundTrip : public ::testing::TestWithParam<Case> {};

// Read over one device method, written back over the other.
TEST_P(FloppyJobRoundTrip, DiskComesBackByteForByte) {
    const std::string extension = std::get<0>(GetParam());
    const uint32_t sectorsPerTrack = std::get<1>(GetParam());
    SimulatedFloppy original(sectorsPerTrack, Flavour::Nt);
    const std::string content = BinaryTestData(original.disk().size(), sectorsPerTrack + 40);
    SetDiskBytes(original, content);
    SimulatedFloppy copy(sectorsPerTrack, Flavour::Vwin32);
    RoundTrip trip("disk" + extension);

    ASSERT_EQ(trip.Read(original, Flavour::Nt), 0);
    ASSERT_EQ(trip.Write(copy, Flavour::Vwin32), 0);

    EXPECT_EQ(trip.trailerSectorsPerTrack, static_cast<int>(sectorsPerTrack));
    EXPECT_TRUE(DiskBytes(copy) == content) << "the copy differs from the original";
    EXPECT_TRUE(trip.readHost.sink.shown.empty());
    EXPECT_TRUE(trip.writeHost.sink.shown.empty());
    EXPECT_EQ(trip.readHost.Outcome(), JobNotice::Finished);
    EXPECT_EQ(trip.writeHost.Outcome(), JobNotice::Finished);
    EXPECT_TRUE(original.EveryOpenClosed());
    EXPECT_TRUE(copy.EveryOpenClosed());
}

INSTANTIATE_TEST_SUITE_P(AllKindsAndFormats, FloppyJobRoundTrip,
                         ::testing::Combine(::testing::Values(".img", ".imz", ".exe"),
                                            ::testing::Values(9u, 18u, 21u)),
                         [](const ::testing::TestParamInfo<Case>& param) {
                             return std::string(std::get<0>(param.param) + 1) +
                                    std::to_string(std::get<1>(param.param));
                         });

// Every standard format, each kind: disks that report their whole geometry.
using FormatCase = std::tuple<const char*, uint32_t>;  // extension, kilobytes

class EveryFormatRoundTrip : public ::testing::TestWithParam<FormatCase> {};

TEST_P(EveryFormatRoundTrip, DiskComesBackByteForByte) {
    const std::string extension = std::get<0>(GetParam());
    const FloppyType* format = FindFloppyTypeOfSize(std::get<1>(GetParam()) * 1024ull);
    ASSERT_NE(format, nullptr);
    SimulatedFloppy original(*format, Flavour::Nt);
    const std::string content = BinaryTestData(format->totalBytes, format->sectorsPerTrack + 3);
    SetDiskBytes(original, content);
    SimulatedFloppy copy(*format, Flavour::Vwin32);
    RoundTrip trip("disk" + extension);

    ASSERT_EQ(trip.Read(original, Flavour::Nt), 0);
    ASSERT_EQ(trip.Write(copy, Flavour::Vwin32), 0);

    EXPECT_EQ(trip.trailerSectorsPerTrack, static_cast<int>(format->sectorsPerTrack));
    EXPECT_TRUE(DiskBytes(copy) == content) << "the copy differs from the original";
    EXPECT_TRUE(trip.writeHost.sink.shown.empty());
    EXPECT_EQ(trip.writeHost.Outcome(), JobNotice::Finished);
    ASSERT_NE(trip.writeHost.Last(JobNotice::Finished), nullptr);
    EXPECT_STREQ(trip.writeHost.Last(JobNotice::Finished)->progress.sizeText, format->sizeText);
}

INSTANTIATE_TEST_SUITE_P(AllKindsAndFormats, EveryFormatRoundTrip,
                         ::testing::Combine(::testing::Values(".img", ".imz", ".exe"),
                                            ::testing::Values(160u, 180u, 320u, 360u, 720u, 1200u,
                                                              1440u, 1680u, 2880u)),
                         [](const ::testing::TestParamInfo<FormatCase>& param) {
                             return std::string(std::get<0>(param.param) + 1) +
                                    std::to_string(std::get<1>(param.param));
                         });

// A compatible raw image has no trailer: the write job cannot compare formats but still
// writes the whole disk.
TEST(FloppyJobRoundTripCompatible, RawImageWithoutTrailerComesBack) {
    SimulatedFloppy original(21, Flavour::Vwin32);
    const std::string content = BinaryTestData(original.disk().size(), 77);
    SetDiskBytes(original, content);
    SimulatedFloppy copy(21, Flavour::Nt);
    RoundTrip trip("plain.img");
    trip.compatible = true;

    ASSERT_EQ(trip.Read(original, Flavour::Vwin32), 0);
    ASSERT_EQ(trip.Write(copy, Flavour::Nt), 0);

    EXPECT_EQ(trip.trailerSectorsPerTrack, 0);
    EXPECT_TRUE(DiskBytes(copy) == content);
}

// A damaged disk rescued in emergency mode comes back whole but for its bad sectors,
// which are zeros.
TEST(FloppyJobRoundTripEmergency, BadSectorsComeBackAsZeros) {
    SimulatedFloppy original(18, Flavour::Vwin32);
    std::string expected = BinaryTestData(original.disk().size(), 78);
    SetDiskBytes(original, expected);
    for (uint32_t sector : {3u, 4u, 1000u}) {
        original.MakeUnreadable(sector);
        expected.replace(sector * 512, 512, 512, '\0');
    }
    SimulatedFloppy copy(18, Flavour::Nt);
    RoundTrip trip("rescued.imz");
    trip.emergency = true;

    ASSERT_EQ(trip.Read(original, Flavour::Vwin32), 0);
    ASSERT_EQ(trip.Write(copy, Flavour::Nt), 0);

    EXPECT_TRUE(DiskBytes(copy) == expected);
}

}  // namespace
