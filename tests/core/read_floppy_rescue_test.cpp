#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "engine/image/bad_sector_map.h"
#include "engine/image/image_trailer.h"
#include "engine/job/read_floppy_job.h"
#include "resources/string_ids.h"
#include "tests/support/image_files.h"
#include "tests/support/job_test_host.h"
#include "tests/support/simulated_floppy.h"
#include "tests/support/temp_dir.h"

// Reading what a failing disk still holds: the unit that fails is read sector by sector,
// weak sectors are tried again from elsewhere, what stays unreadable is mapped, and a
// later read takes only those sectors again.
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
using Flavour = SimulatedFloppy::Flavour;

constexpr uint32_t kSector = 512;

class Rescue : public ::testing::Test {
protected:
    Rescue() {
        target_ = dir_.File("old.img");
        memcpy(request_.imagePath, target_.c_str(), target_.size() + 1);
        SetDescription("Letters 1994");
    }

    void SetDescription(const char* text) { strcpy(request_.description, text); }

    int Run(SimulatedFloppy& disk) {
        host_.posts.clear();
        host_.sink.shown.clear();
        ReadFloppyJob job(request_, host_, disk);
        return job.Run();
    }

    std::vector<uint32_t> MapOnDisk() { return SectorsInMap(target_ + ".map", 2880); }

    int TrailerCount() {
        char description[kDescriptionBufferSize];
        int sectors = 0;
        int bad = -1;
        EXPECT_EQ(ReadImageTrailer(target_.c_str(), host_.sink, description, &sectors, nullptr, &bad),
                  kTrailerRead);
        return bad;
    }

    std::string ImageData() {
        const std::string image = ReadWholeFile(target_);
        return image.substr(0, std::min<size_t>(image.size(), 1474560));
    }

    static std::string WithZeros(const SimulatedFloppy& disk, const std::vector<uint32_t>& bad) {
        std::string bytes = DiskBytes(disk);
        for (uint32_t s : bad) bytes.replace(s * kSector, kSector, kSector, '\0');
        return bytes;
    }

    TempDir dir_;
    TestJobHost host_;
    JobRequest request_;
    std::string target_;
};

// --- Retries ------------------------------------------------------------------------------

struct RetryCase {
    const char* name;
    uint32_t failures;  // reads of the weak sector that fail before one works
    uint32_t retries;
    bool recovered;
    uint32_t retriesMade;
    uint32_t requests;  // all device reads
};

class RescueRetries : public Rescue, public ::testing::WithParamInterface<RetryCase> {};

TEST_P(RescueRetries, WeakSectorIsTriedAgainFromAFarCylinder) {
    const RetryCase& c = GetParam();
    request_.emergency = true;
    request_.retries = c.retries;
    SimulatedFloppy disk(18);
    const uint32_t weak = 100;  // cylinder 2
    disk.MakeFlaky(weak, c.failures);

    ASSERT_EQ(Run(disk), 0);

    EXPECT_EQ(disk.transfers().size(), c.requests);
    EXPECT_TRUE(ImageData() == WithZeros(disk, c.recovered ? std::vector<uint32_t>{}
                                                          : std::vector<uint32_t>{weak}));
    // Every retry comes back from the last cylinder.
    uint32_t visits = 0;
    const std::vector<uint32_t>& moves = disk.headMoves();
    for (size_t i = 1; i < moves.size(); ++i) {
        if (moves[i] == 79 && moves[i - 1] == 2 && i + 1 < moves.size() && moves[i + 1] == 2) ++visits;
    }
    EXPECT_EQ(visits, c.retriesMade) << "head moves";
    EXPECT_EQ(FileExists(target_ + ".map"), !c.recovered);
}

// Requests: 145 unit reads; a failed unit adds its 20 sectors; each retry adds two.
INSTANTIATE_TEST_SUITE_P(
    Cases, RescueRetries,
    ::testing::Values(RetryCase{"GoodDisk", 0, 3, true, 0, 145},
                      RetryCase{"ReadsOnItsOwnSecondTry", 1, 3, true, 0, 145 + 20},
                      RetryCase{"ReadsOnTheLastRetry", 4, 3, true, 3, 145 + 20 + 3 * 2},
                      RetryCase{"OneFailureTooMany", 5, 3, false, 3, 145 + 20 + 3 * 2},
                      RetryCase{"NoRetries", 2, 0, false, 0, 145 + 20},
                      RetryCase{"MostRetries", 21, 20, true, 20, 145 + 20 + 20 * 2},
                      // A larger count from outside is held to the most the setting allows.
                      RetryCase{"TooManyAskedFor", 30, 99, false, 20, 145 + 20 + 20 * 2}),
    [](const ::testing::TestParamInfo<RetryCase>& p) { return std::string(p.param.name); });

// Outside emergency mode one weak sector no longer ends the read, and one that really
// fails is named; nothing is ever retried.
TEST_F(Rescue, NormalReadReadsAFailedUnitAgainOnceSectorBySector) {
    for (Flavour flavour : {Flavour::Nt, Flavour::Vwin32}) {
        SCOPED_TRACE(flavour == Flavour::Nt ? "Nt" : "Vwin32");
        SimulatedFloppy disk(18, flavour);
        disk.MakeFlaky(333, 1);
        ASSERT_EQ(Run(disk), 0);
        EXPECT_TRUE(ImageData() == DiskBytes(disk));
        EXPECT_THAT(host_.sink.Ids(), IsEmpty());
        EXPECT_EQ(disk.transfers().size(), 145u + 20);
        EXPECT_FALSE(FileExists(target_ + ".map"));
        EXPECT_EQ(TrailerCount(), 0);

        SimulatedFloppy worse(18, flavour);
        worse.MakeFlaky(333, 2, 0x17);
        EXPECT_EQ(Run(worse), -1);
        EXPECT_THAT(host_.sink.Ids(), ElementsAre(IDS_SECTOR_READ_FAILED_AT));
        EXPECT_EQ(host_.sink.shown[0].text, "Sector 333 (cylinder 9, head 0, sector 10): ");
        EXPECT_EQ(host_.sink.shown[0].number, 0x17);
        EXPECT_EQ(worse.transfers().size(), 17u + 14) << "no retry outside emergency mode";
        EXPECT_TRUE(ImageData() == DiskBytes(disk)) << "the earlier image was touched";
    }
}

// --- The map, the trailer's count and the message -------------------------------------------

TEST_F(Rescue, UnreadableSectorsAreMappedCountedAndReported) {
    request_.emergency = true;
    SimulatedFloppy disk(18);
    const std::vector<uint32_t> bad = {0, 19, 20, 21, 1000, 2879};
    for (uint32_t s : bad) disk.MakeUnreadable(s);

    ASSERT_EQ(Run(disk), 0);

    EXPECT_TRUE(ImageData() == WithZeros(disk, bad));
    EXPECT_THAT(MapOnDisk(), ElementsAreArray(bad));
    EXPECT_EQ(TrailerCount(), 6);
    ASSERT_THAT(host_.sink.Ids(), ElementsAre(IDS_SECTORS_RECOVERED));
    EXPECT_EQ(host_.sink.shown[0].text,
              "Recovered 2874 of 2880 sectors.\n6 sectors could not be read and were filled with "
              "zeros; they are listed in " + target_ + ".map.");
    EXPECT_EQ(host_.Outcome(), JobNotice::Finished);
    // The count grows as they are found.
    std::vector<uint32_t> counts;
    for (const TestJobHost::Posted& p : host_.posts) {
        if (counts.empty() || counts.back() != p.progress.badSectors) counts.push_back(p.progress.badSectors);
    }
    EXPECT_THAT(counts, ElementsAre(2u, 4u, 5u, 6u));
    EXPECT_THAT(FileNamesIn(dir_.path()), ElementsAre("old.img", "old.img.map"));
}

TEST_F(Rescue, GoodDiskGetsNoMapAndTheImageOfANormalRead) {
    SimulatedFloppy disk(18);
    ASSERT_EQ(Run(disk), 0);
    const std::string normal = ReadWholeFile(target_);
    request_.emergency = true;
    WriteWholeFile(target_ + ".map", "stale");
    SimulatedFloppy again(18);
    ASSERT_EQ(Run(again), 0);
    EXPECT_TRUE(ReadWholeFile(target_) == normal);
    EXPECT_EQ(again.transfers().size(), 145u);
    EXPECT_FALSE(FileExists(target_ + ".map")) << "an earlier read's map outlived its image";
    EXPECT_THAT(host_.sink.Ids(), IsEmpty());
}

// --- Reading only the mapped sectors again ------------------------------------------------------

TEST_F(Rescue, SecondReadTakesOnlyTheMappedSectorsAndMergesThem) {
    request_.emergency = true;
    request_.retries = 1;
    SimulatedFloppy disk(18);
    disk.MakeFlaky(50, 3);    // lost on the first read (unit, sector, retry), read on the second
    disk.MakeFlaky(51, 100);  // lost both times
    disk.MakeFlaky(1700, 4);  // lost on the first read, read on the second's retry
    ASSERT_EQ(Run(disk), 0);
    ASSERT_THAT(MapOnDisk(), ElementsAre(50u, 51u, 1700u));
    const size_t firstReads = disk.transfers().size();

    request_.rereadMappedSectors = true;
    SetDescription("Letters 1994, second pass");
    ASSERT_EQ(Run(disk), 0);

    // Besides the mapped sectors only the boot sector, the others of their units (to
    // compare with the image) and the head's trips to cylinders 0 and 79 are read.
    std::vector<uint32_t> reread;
    for (size_t i = firstReads; i < disk.transfers().size(); ++i) {
        const SimulatedFloppy::Transfer& t = disk.transfers()[i];
        EXPECT_EQ(t.bytes, kSector);
        const uint32_t s = t.firstSector;
        if (s == 50 || s == 51 || s == 1700) {
            reread.push_back(s);
        } else {
            EXPECT_TRUE(s == 0 || s == 79 * 36 || (s >= 40 && s < 60) || (s >= 1700 && s < 1720)) << s;
        }
    }
    EXPECT_THAT(reread, ElementsAre(50u, 51u, 51u, 1700u, 1700u)) << "not just the mapped sectors";
    EXPECT_TRUE(ImageData() == WithZeros(disk, {51}));
    EXPECT_THAT(MapOnDisk(), ElementsAre(51u));
    EXPECT_EQ(TrailerCount(), 1);
    EXPECT_EQ(host_.sink.shown.back().text.substr(0, 31), "Recovered 2879 of 2880 sectors.");

    // The last one comes back: the map goes.
    disk.MakeFlaky(51, 0);
    ASSERT_EQ(Run(disk), 0);
    EXPECT_TRUE(ImageData() == DiskBytes(disk));
    EXPECT_FALSE(FileExists(target_ + ".map"));
    EXPECT_EQ(TrailerCount(), 0);
    EXPECT_THAT(host_.sink.Ids(), IsEmpty());
    EXPECT_EQ(host_.Outcome(), JobNotice::Finished);
}

TEST_F(Rescue, CancelledOrFailedRereadLeavesImageAndMapAsTheyWere) {
    request_.emergency = true;
    SimulatedFloppy disk(18);
    for (uint32_t s : {7u, 8u, 9u}) disk.MakeUnreadable(s);
    ASSERT_EQ(Run(disk), 0);
    const std::string image = ReadWholeFile(target_);
    const std::string map = ReadWholeFile(target_ + ".map");
    request_.rereadMappedSectors = true;

    host_.cancelAfterProgress = 1;
    EXPECT_EQ(Run(disk), -1);
    EXPECT_TRUE(ReadWholeFile(target_) == image);
    EXPECT_EQ(ReadWholeFile(target_ + ".map"), map);

    // A map that is no longer one of this disk: refused before the drive is read.
    host_.cancelAfterProgress = -1;
    WriteWholeFile(target_ + ".map", "0x0 + 1\n0x00000000  0x00000200  -\n0x00000000  0x00000200  -\n");
    const size_t before = disk.transfers().size();
    EXPECT_EQ(Run(disk), -1);
    EXPECT_THAT(host_.sink.Ids(), ElementsAre(IDS_UNABLE_TO_OPEN));
    EXPECT_EQ(host_.sink.shown[0].text, target_ + ".map");
    EXPECT_EQ(disk.transfers().size(), before);
    EXPECT_TRUE(ReadWholeFile(target_) == image);
    EXPECT_THAT(FileNamesIn(dir_.path()), ElementsAre("old.img", "old.img.map"));
}

}  // namespace
