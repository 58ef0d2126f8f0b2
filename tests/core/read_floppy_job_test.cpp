#include "engine/job/read_floppy_job.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <tuple>
#include <vector>

#include "engine/image/image_kind.h"
#include "engine/image/image_trailer.h"
#include "engine/image/sha256_digest.h"
#include "resources/string_ids.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/image_files.h"
#include "tests/support/job_test_host.h"
#include "tests/support/simulated_floppy.h"
#include "tests/support/temp_dir.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Flavour = SimulatedFloppy::Flavour;

constexpr uint32_t kUnit = 10240;
constexpr uint32_t kSector = 512;
constexpr size_t kBytes1440 = 1474560;

const char* FlavourName(Flavour flavour) {
    return flavour == Flavour::Nt ? "Nt" : "Vwin32";
}

template <size_t N>
void SetText(char (&field)[N], const std::string& text) {
    ASSERT_LT(text.size(), N);
    memcpy(field, text.c_str(), text.size() + 1);
}

// First sectors of the device's read requests, in order.
std::vector<uint32_t> ReadStarts(const SimulatedFloppy& disk) {
    std::vector<uint32_t> starts;
    for (const SimulatedFloppy::Transfer& t : disk.transfers()) {
        EXPECT_FALSE(t.write) << "a read job wrote to the disk";
        starts.push_back(t.firstSector);
    }
    return starts;
}

std::vector<uint32_t> Sequence(uint32_t count, uint32_t step) {
    std::vector<uint32_t> values;
    for (uint32_t i = 0; i < count; ++i) values.push_back(i * step);
    return values;
}

struct Trailer {
    int result;
    std::string description;
    int sectorsPerTrack;
    TrailerChecksum checksum;
};

Trailer TrailerOf(const std::string& path) {
    RecordingSink sink;
    char description[kDescriptionBufferSize];
    int sectorsPerTrack = -1;
    TrailerChecksum checksum;
    const int result =
        ReadImageTrailer(path.c_str(), sink, description, &sectorsPerTrack, &checksum);
    return Trailer{result, description, sectorsPerTrack, checksum};
}

std::string Sha256Of(const std::string& data) {
    char hex[Sha256Digest::kHexLength + 1];
    Sha256Hex(data.data(), data.size(), hex);
    return hex;
}

class ReadJob : public ::testing::Test {
protected:
    // Aims the job at `name` in the test's folder; ".imz" and ".exe" are compressed.
    std::string Target(const std::string& name) {
        const std::string path = dir_.File(name);
        SetText(request_.imagePath, path);
        return path;
    }

    int Run(SimulatedFloppy& disk, Flavour flavour) {

        EXPECT_EQ(disk.KeepsPosition(), flavour == Flavour::Nt) << "the method counts as its disk";
        ReadFloppyJob job(request_, host_, disk);
        return job.Run();
    }

    // Every message, notice and device open of a job that failed before any copying.
    void ExpectRefused(const SimulatedFloppy& disk, const std::string& target, unsigned id,
                       const std::string& text) {
        EXPECT_THAT(host_.sink.Ids(), ElementsAre(id));
        if (!host_.sink.shown.empty()) {
            EXPECT_EQ(host_.sink.shown[0].text, text);
            EXPECT_EQ(host_.sink.shown[0].style, MessageStyle::Error);
        }
        EXPECT_EQ(host_.Outcome(), JobNotice::Failed);
        EXPECT_EQ(host_.Count(JobNotice::Progress), 0);
        EXPECT_TRUE(disk.EveryOpenClosed());
        EXPECT_FALSE(FileExists(target)) << "the target exists";
        EXPECT_FALSE(FileExists(target + ".tmp")) << "its image was left";
    }

    TempDir dir_;
    TestJobHost host_;
    JobRequest request_;
};

// --- Every kind of image from every format, over both device methods ---------------

using KindCase = std::tuple<const char*, uint32_t, Flavour>;

class ReadJobKinds : public ReadJob, public ::testing::WithParamInterface<KindCase> {};

TEST_P(ReadJobKinds, ImageHoldsTheWholeDiskAndATrailer) {
    const std::string extension = std::get<0>(GetParam());
    const uint32_t sectorsPerTrack = std::get<1>(GetParam());
    const Flavour flavour = std::get<2>(GetParam());
    SimulatedFloppy disk(sectorsPerTrack, flavour);
    const std::string diskBytes = DiskBytes(disk);
    const std::string target = Target("disk" + extension);
    SetText(request_.description, "Tax returns 1996");
    host_.programPath = dir_.File("vorlix.exe");
    const std::string stub = WriteFakeProgram(host_.programPath);

    EXPECT_EQ(Run(disk, flavour), 0);

    const std::string image = ReadWholeFile(target);
    ASSERT_GT(image.size(), static_cast<size_t>(kImageTrailerSize));
    const std::string body = image.substr(0, image.size() - kImageTrailerSize);
    if (extension == ".img") {
        EXPECT_TRUE(body == diskBytes) << "the raw image is not the disk";
    } else {
        const std::string front = extension == ".exe" ? stub : std::string();
        const size_t streamStart = front.size();
        EXPECT_TRUE(image.substr(0, streamStart) == front) << "the stub is not in front";
        const StreamContents stream = DecompressFile(target, static_cast<long>(streamStart));
        EXPECT_TRUE(stream.complete);
        EXPECT_TRUE(stream.data == diskBytes) << "the stream is not the disk";
    }
    const Trailer trailer = TrailerOf(target);
    EXPECT_EQ(trailer.result, kTrailerRead);
    EXPECT_EQ(trailer.description, "Tax returns 1996");
    EXPECT_EQ(trailer.sectorsPerTrack, static_cast<int>(sectorsPerTrack));
    EXPECT_EQ(trailer.checksum.state, TrailerChecksum::Stored);
    EXPECT_EQ(std::string(trailer.checksum.hex), Sha256Of(diskBytes));

    // One read per unit and the final one, which is not used, all in order.
    const uint32_t units = static_cast<uint32_t>(diskBytes.size() / kUnit);
    EXPECT_EQ(ReadStarts(disk), Sequence(units + 1, kUnit / kSector));
    EXPECT_EQ(disk.seeks(), 0u);
    ASSERT_EQ(disk.opens().size(), 2u);  // the type query, then the transfer
    EXPECT_EQ(disk.opens()[1].access, DeviceAccess::Read);
    EXPECT_TRUE(disk.EveryOpenClosed());
    EXPECT_TRUE(NothingHoldsFile(target));
    EXPECT_EQ(FileNamesIn(dir_.path()).size(), 2u) << "a file beside the image and the program";

    EXPECT_THAT(host_.sink.Ids(), IsEmpty());
    EXPECT_EQ(host_.Outcome(), JobNotice::Finished);
    EXPECT_EQ(host_.Count(JobNotice::Progress), static_cast<int>(units));
    for (const TestJobHost::Posted& p : host_.posts) EXPECT_EQ(p.kind, JobKind::Read);
    const JobProgress& last = host_.Last(JobNotice::Progress)->progress;
    EXPECT_EQ(last.percentDone, 100u);
    EXPECT_EQ(last.kilobytesCopied, diskBytes.size() / 1024);
    EXPECT_EQ(std::string(last.sizeText), std::to_string(diskBytes.size() / 1024) + " kB");
}

INSTANTIATE_TEST_SUITE_P(
    AllKindsFormatsAndMethods, ReadJobKinds,
    ::testing::Combine(::testing::Values(".img", ".imz", ".exe"), ::testing::Values(9u, 18u, 21u),
                       ::testing::Values(Flavour::Nt, Flavour::Vwin32)),
    [](const ::testing::TestParamInfo<KindCase>& param) {
        return std::string(std::get<0>(param.param) + 1) + std::to_string(std::get<1>(param.param)) +
               FlavourName(std::get<2>(param.param));
    });

// --- Trailer and compatible mode ------------------------------------------------------

TEST_F(ReadJob, CompatibleModeLeavesOnlyRawImagesWithoutTrailer) {
    struct Case {
        const char* name;
        bool compatible;
        bool trailer;
    };
    const Case cases[] = {
        {"plain.img", false, true},
        {"compatible.img", true, false},
        {"COMPATIBLE.IMG", true, false},
        {"compatible.imz", true, true},
        {"compatible.exe", true, true},
    };
    host_.programPath = dir_.File("vorlix.exe");
    WriteFakeProgram(host_.programPath);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SimulatedFloppy disk(18);
        const std::string target = Target(c.name);
        request_.compatible = c.compatible;
        ASSERT_EQ(Run(disk, Flavour::Nt), 0);
        EXPECT_EQ(TrailerOf(target).result == kTrailerMissing, !c.trailer);
        if (HasExtension(c.name, ".img")) {
            EXPECT_EQ(ReadWholeFile(target).size(), c.trailer ? 1475584u : 1474560u);
        }
    }
}

TEST_F(ReadJob, EmptyDescriptionStillMakesATrailer) {
    SimulatedFloppy disk(9);
    const std::string target = Target("empty.img");
    ASSERT_EQ(Run(disk, Flavour::Nt), 0);
    const std::string image = ReadWholeFile(target);
    ASSERT_EQ(image.size(), 737280u + kImageTrailerSize);
    EXPECT_NE(image.find("[Description \x01", 737280), std::string::npos);
    EXPECT_EQ(TrailerOf(target).sectorsPerTrack, 9);
}

// --- Progress --------------------------------------------------------------------------

TEST_F(ReadJob, PercentAndKilobytesAfterEachUnit) {
    SimulatedFloppy disk(18);
    Target("disk.img");
    ASSERT_EQ(Run(disk, Flavour::Nt), 0);
    ASSERT_EQ(host_.Count(JobNotice::Progress), 144);
    uint32_t unit = 0;
    for (const TestJobHost::Posted& p : host_.posts) {
        if (p.notice != JobNotice::Progress) continue;
        ++unit;
        EXPECT_EQ(p.progress.percentDone, unit * kUnit * 100 / kBytes1440) << "unit " << unit;
        EXPECT_EQ(p.progress.kilobytesCopied, unit * 10) << "unit " << unit;
    }
    EXPECT_EQ(host_.posts.front().progress.percentDone, 0u);  // 10,240 x 100 / 1,474,560
}

TEST_F(ReadJob, SpeedIsZeroUntilTheClockMovesOnThenKilobytesPerWholeSecond) {
    // Start, then one reading per unit.
    std::vector<int64_t> readings = {500, 500, 500, 501, 503};
    size_t next = 0;
    host_.clock = [&] { return readings[std::min(next++, readings.size() - 1)]; };
    SimulatedFloppy disk(18);
    Target("disk.img");
    ASSERT_EQ(Run(disk, Flavour::Nt), 0);
    std::vector<std::string> speeds;
    for (const TestJobHost::Posted& p : host_.posts) speeds.push_back(p.progress.speedText);
    ASSERT_GE(speeds.size(), 5u);
    EXPECT_EQ(speeds[0], "0");
    EXPECT_EQ(speeds[1], "0");
    EXPECT_EQ(speeds[2], "30.0");  // 30 kB in 1 s
    EXPECT_EQ(speeds[3], "13.3");  // 40 kB in 3 s
    EXPECT_EQ(speeds.back(), "480.0");
}

TEST_F(ReadJob, ClockSetBackShowsZero) {
    std::vector<int64_t> readings = {500, 499};
    size_t next = 0;
    host_.clock = [&] { return readings[std::min(next++, readings.size() - 1)]; };
    SimulatedFloppy disk(9);
    Target("disk.img");
    ASSERT_EQ(Run(disk, Flavour::Nt), 0);
    EXPECT_EQ(std::string(host_.posts.front().progress.speedText), "0");
}

// --- Cancel -----------------------------------------------------------------------------

TEST_F(ReadJob, CancelRemovesThePartialImageAndPostsNothingMore) {
    host_.programPath = dir_.File("vorlix.exe");
    WriteFakeProgram(host_.programPath);
    for (const char* name : {"cancel.img", "cancel.imz", "cancel.exe"}) {
        for (Flavour flavour : {Flavour::Nt, Flavour::Vwin32}) {
            SCOPED_TRACE(std::string(name) + " " + FlavourName(flavour));
            host_.posts.clear();
            host_.cancelAfterProgress = 3;
            SimulatedFloppy disk(18, flavour);
            const std::string target = Target(name);

            EXPECT_EQ(Run(disk, flavour), -1);

            EXPECT_FALSE(FileExists(target));
            EXPECT_THAT(FileNamesIn(dir_.path()), ElementsAre("vorlix.exe")) << "a partial image";
            EXPECT_EQ(host_.Outcome(), JobNotice::Progress) << "Finished or Failed posted";
            EXPECT_EQ(host_.posts.size(), 3u);
            // The cancel is seen before the request that would follow the third notice.
            EXPECT_EQ(disk.transfers().size(), 3u);
            EXPECT_TRUE(disk.EveryOpenClosed());
            EXPECT_THAT(host_.sink.Ids(), IsEmpty());
        }
    }
}

// --- Read errors and emergency mode ---------------------------------------------------------

TEST_F(ReadJob, ReadErrorRemovesTheImageAndShowsTheDeviceError) {
    for (Flavour flavour : {Flavour::Nt, Flavour::Vwin32}) {
        for (const char* name : {"bad.img", "bad.imz"}) {
            SCOPED_TRACE(std::string(name) + " " + FlavourName(flavour));
            host_ = TestJobHost();
            SimulatedFloppy disk(18, flavour);
            disk.MakeUnreadable(105, 0x1234);  // in the sixth unit
            const std::string target = Target(name);

            EXPECT_EQ(Run(disk, flavour), -1);

            // The unit is read again sector by sector; the bad one is named.
            EXPECT_THAT(host_.sink.Ids(), ElementsAre(IDS_SECTOR_READ_FAILED_AT));
            EXPECT_EQ(host_.sink.shown[0].text, "Sector 105 (cylinder 2, head 1, sector 16): ");
            EXPECT_EQ(host_.sink.shown[0].number, 0x1234);
            EXPECT_EQ(host_.Outcome(), JobNotice::Failed);
            EXPECT_EQ(host_.Count(JobNotice::Progress), 5);
            EXPECT_FALSE(FileExists(target));
            EXPECT_THAT(FileNamesIn(dir_.path()), IsEmpty()) << "a partial image";
            EXPECT_TRUE(disk.EveryOpenClosed());
        }
    }
}

TEST_F(ReadJob, EmergencyModeZeroesBadSectorsAfterTheirRetries) {
    const std::vector<uint32_t> bad = {0, 7, 8, 1500, 2879};
    for (Flavour flavour : {Flavour::Nt, Flavour::Vwin32}) {
        SCOPED_TRACE(FlavourName(flavour));
        host_ = TestJobHost();
        request_.emergency = true;
        request_.compatible = true;
        SimulatedFloppy disk(18, flavour);
        for (uint32_t sector : bad) disk.MakeUnreadable(sector);
        const std::string target = Target("rescued.img");
        // The buffer must not carry the good sector before a bad one into the image.
        std::string expected = DiskBytes(disk);
        for (uint32_t sector : bad) expected.replace(sector * kSector, kSector, kSector, '\0');

        EXPECT_EQ(Run(disk, flavour), 0);

        EXPECT_TRUE(ReadWholeFile(target) == expected) << "not the disk with zeroed sectors";
        EXPECT_EQ(TrailerOf(target).result, kTrailerMissing);
        // 145 unit reads; 20 sectors for each of the three failing units; three retries,
        // each behind a read elsewhere, for each of the five bad sectors.
        EXPECT_EQ(disk.transfers().size(), 145u + 3 * 20 + 5 * 3 * 2);
        EXPECT_THAT(host_.sink.Ids(), ElementsAre(IDS_SECTORS_RECOVERED));
        EXPECT_EQ(host_.Outcome(), JobNotice::Finished);
        EXPECT_EQ(host_.Count(JobNotice::Progress), 144);
        EXPECT_EQ(host_.Last(JobNotice::Progress)->progress.badSectors, 5u);
        EXPECT_TRUE(disk.EveryOpenClosed());
    }
}

// Whether a failed sector is passed over is asked at each failure.
TEST_F(ReadJob, EmergencyTurnedOnLaterPassesOverOnlyTheBadSector) {
    SimulatedFloppy disk(9);
    disk.MakeUnreadable(45);
    request_.compatible = true;
    const std::string target = Target("late.img");
    ReadFloppyJob job(request_, host_, disk);
    request_.emergency = true;
    EXPECT_EQ(job.Run(), 0);
    std::string expected = DiskBytes(disk);
    expected.replace(45 * kSector, kSector, kSector, '\0');
    EXPECT_TRUE(ReadWholeFile(target) == expected);
}

// The checksum is of what the image holds, so a rescued image checks good as what it is.
TEST_F(ReadJob, ChecksumOfARescuedImageCoversItsZeroedSectors) {
    SimulatedFloppy disk(9);
    disk.MakeUnreadable(100);
    request_.emergency = true;
    const std::string target = Target("rescued.img");
    EXPECT_EQ(Run(disk, Flavour::Nt), 0);
    std::string expected = DiskBytes(disk);
    expected.replace(100 * kSector, kSector, kSector, '\0');
    const std::string image = ReadWholeFile(target);
    ASSERT_EQ(image.size(), expected.size() + kImageTrailerSize);
    EXPECT_TRUE(image.substr(0, expected.size()) == expected);
    EXPECT_EQ(std::string(TrailerOf(target).checksum.hex), Sha256Of(expected));
}

// A drive that claims a larger format than its medium holds: reads past the medium's
// end deliver nothing (NT) or fail (VWIN32). Neither may loop for ever.
TEST_F(ReadJob, MediumShorterThanItsFormatFailsInsteadOfLooping) {
    const struct {
        Flavour flavour;
        long error;
    } cases[] = {{Flavour::Nt, 38}, {Flavour::Vwin32, SimulatedFloppy::kSectorNotFound}};
    for (const auto& c : cases) {
        SCOPED_TRACE(FlavourName(c.flavour));
        host_ = TestJobHost();
        SimulatedFloppy disk(18, c.flavour);
        disk.ReportSectorsPerTrack(21);
        const std::string target = Target("short.img");
        EXPECT_EQ(Run(disk, c.flavour), -1);
        EXPECT_THAT(host_.sink.Ids(), ElementsAre(IDS_SECTOR_READ_FAILED_AT));
        EXPECT_EQ(host_.sink.shown[0].text, "Sector 2880 (cylinder 68, head 1, sector 4): ");
        EXPECT_EQ(host_.sink.shown[0].number, c.error);
        EXPECT_EQ(host_.Count(JobNotice::Progress), 144);
        EXPECT_FALSE(FileExists(target));
    }
}

// --- Refusals before copying ---------------------------------------------------------------

TEST_F(ReadJob, DeviceFailuresBeforeCopyingCreateNoTarget) {
    struct Case {
        const char* name;
        void (*fault)(SimulatedFloppy&);
        unsigned id;
        const char* text;
    };
    const Case cases[] = {
        {"QueryFails", [](SimulatedFloppy& d) { d.FailQuery(true); }, IDS_UNKNOWN_FLOPPY_TYPE, ""},
        {"UnknownFormat", [](SimulatedFloppy& d) { d.ReportSectorsPerTrack(15); },
         IDS_UNKNOWN_FLOPPY_TYPE, ""},
        {"QueryOpenFails", [](SimulatedFloppy& d) { d.FailOpen(true, false); }, IDS_UNABLE_TO_OPEN,
         "B:"},
        {"TransferOpenFails", [](SimulatedFloppy& d) { d.FailOpen(false, true); },
         IDS_UNABLE_TO_OPEN, "B:"},
        // Files open on the disk may be writing to it: its image would be neither state.
        {"DiskInUse", [](SimulatedFloppy& d) { d.AnswerLock(VolumeLock::InUse); },
         IDS_FLOPPY_IN_USE, "B:"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        host_ = TestJobHost();
        strcpy(request_.drive, "B:");
        SimulatedFloppy disk(18);
        c.fault(disk);
        const std::string target = Target("never.img");
        EXPECT_EQ(Run(disk, Flavour::Nt), -1);
        ExpectRefused(disk, target, c.id, c.text);
        EXPECT_TRUE(disk.transfers().empty());
    }
}

TEST_F(ReadJob, TargetThatCannotBeCreated) {
    SimulatedFloppy disk(18);
    const std::string target = dir_.File("no-such-folder/disk.imz");
    SetText(request_.imagePath, target);
    EXPECT_EQ(Run(disk, Flavour::Nt), -1);
    ExpectRefused(disk, target, IDS_UNABLE_TO_CREATE, target);
}

TEST_F(ReadJob, SelfExtractingTargetWithoutProgramFile) {
    SimulatedFloppy disk(18);
    host_.programPath = dir_.File("gone.exe");
    const std::string target = Target("disk.exe");
    EXPECT_EQ(Run(disk, Flavour::Nt), -1);
    ExpectRefused(disk, target, IDS_CANNOT_OPEN_PROGRAM_FILE, host_.programPath);
}

// --- A full hard disk -------------------------------------------------------------------------

#ifndef _WIN32
TEST_F(ReadJob, FullHardDiskRemovesTheImage) {
    // The disk's pattern compresses to some 20 kB.
    const struct {
        const char* name;
        rlim_t room;
    } cases[] = {{"full.img", 100000}, {"full.imz", 5000}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        host_ = TestJobHost();
        SimulatedFloppy disk(18);
        const std::string target = Target(c.name);
        int result = 0;
        {
            FileSizeLimit full(c.room);
            ASSERT_TRUE(full.active());
            result = Run(disk, Flavour::Nt);
        }
        EXPECT_EQ(result, -1);
        EXPECT_THAT(host_.sink.Ids(), ElementsAre(IDS_IMAGE_WRITE_FAILED));
        EXPECT_EQ(host_.Outcome(), JobNotice::Failed);
        EXPECT_FALSE(FileExists(target));
        EXPECT_THAT(FileNamesIn(dir_.path()), IsEmpty());
        EXPECT_TRUE(disk.EveryOpenClosed());
    }
}

// The image fits, its trailer does not: an image without the trailer it should have is
// not complete, so it is not kept, and the user hears of it.
TEST_F(ReadJob, TrailerThatDoesNotFitIsReported) {
    SimulatedFloppy disk(18);
    const std::string target = Target("no-room.img");
    int result = 0;
    {
        FileSizeLimit full(kBytes1440);
        ASSERT_TRUE(full.active());
        result = Run(disk, Flavour::Nt);
    }
    EXPECT_EQ(result, -1);
    EXPECT_THAT(host_.sink.Ids(), ElementsAre(IDS_IMAGE_WRITE_FAILED));
    EXPECT_EQ(host_.Outcome(), JobNotice::Failed);
    EXPECT_FALSE(FileExists(target));
    EXPECT_THAT(FileNamesIn(dir_.path()), IsEmpty());
}
#endif

}  // namespace
