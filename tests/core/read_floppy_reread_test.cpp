// Reading the mapped sectors of an earlier emergency read again: only bytes really read
// reach the image, only from the disk the image came from, and the image and its map
// change together or not at all.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/image/bad_sector_map.h"
#include "engine/job/read_floppy_job.h"
#include "resources/string_ids.h"
#include "tests/support/image_files.h"
#include "tests/support/job_test_host.h"
#include "tests/support/simulated_floppy.h"
#include "tests/support/temp_dir.h"

namespace {

using ::testing::ElementsAre;

constexpr uint32_t kSector = 512;

// The system's file operations, refusing what `refuses` names: ("replace", source) or
// ("remove", path).
class RefusingFiles final : public SystemTargetFilesLayer {
public:
    std::function<bool(const std::string&, const std::string&)> refuses =
        [](const std::string&, const std::string&) { return false; };
    std::vector<std::string> replaced;  // sources put in place, in order

    Replacement Replace(const char* source, const char* target) override {
        if (refuses("replace", source)) return Replacement::Refused;
        replaced.push_back(source);
        return SystemTargetFilesLayer::Replace(source, target);
    }
    bool Remove(const char* path) override {
        return !refuses("remove", path) && SystemTargetFilesLayer::Remove(path);
    }
};

class Reread : public ::testing::Test {
protected:
    Reread() {
        target_ = dir_.File("old.img");
        strcpy(request_.imagePath, target_.c_str());
        request_.emergency = true;
        request_.retries = 0;
    }

    // The earlier read: `lost` unreadable on `disk`, mapped in old.img.map.
    void ReadEarlier(SimulatedFloppy& disk, const std::vector<uint32_t>& lost) {
        for (uint32_t s : lost) disk.MakeUnreadable(s);
        ASSERT_EQ(Run(disk), 0);
        image_ = ReadWholeFile(target_);
        map_ = ReadWholeFile(target_ + ".map");
        request_.rereadMappedSectors = true;
    }

    int Run(SimulatedFloppy& disk, TargetFiles* files = nullptr) {
        host_.posts.clear();
        host_.sink.shown.clear();
        ReadFloppyJob job(request_, host_, disk, files);
        const int result = job.Run();
        outcome_ = job.Outcome();
        return result;
    }

    std::vector<uint32_t> MapOnDisk() { return SectorsInMap(target_ + ".map", 2880); }

    std::string Sector(const std::string& bytes, uint32_t s) { return bytes.substr(s * kSector, kSector); }

    void ExpectUnchanged() {
        EXPECT_TRUE(ReadWholeFile(target_) == image_) << "the image changed";
        EXPECT_EQ(ReadWholeFile(target_ + ".map"), map_) << "the map changed";
        EXPECT_THAT(FileNamesIn(dir_.path()), ElementsAre("old.img", "old.img.map"));
        EXPECT_EQ(host_.Outcome(), JobNotice::Failed);
        EXPECT_EQ(outcome_.end, JobEnd::Failed);
    }

    TempDir dir_;
    TestJobHost host_;
    JobRequest request_;
    JobOutcome outcome_;
    std::string target_;
    std::string image_;
    std::string map_;
};

// A map that outlived the recovery of one of its sectors must not cost that sector:
// what fails again keeps the image's bytes, whatever they are.
TEST_F(Reread, SectorThatFailsAgainKeepsTheImagesBytes) {
    SimulatedFloppy disk(18);
    ReadEarlier(disk, {50, 51});
    const std::string disk51 = Sector(DiskBytes(disk), 51);
    std::string recovered = image_;
    recovered.replace(51 * kSector, kSector, disk51);
    WriteWholeFile(target_, recovered);

    SimulatedFloppy again(18);
    again.MakeUnreadable(51);
    ASSERT_EQ(Run(again), 0);

    const std::string now = ReadWholeFile(target_);
    EXPECT_EQ(Sector(now, 50), Sector(DiskBytes(again), 50));
    EXPECT_EQ(Sector(now, 51), disk51) << "a sector that failed again was overwritten";
    EXPECT_THAT(MapOnDisk(), ElementsAre(51u));
}

// --- Another disk in the drive -----------------------------------------------------------

struct OtherDiskCase {
    const char* name;
    std::vector<uint32_t> changed;  // sectors of the disk now in the drive that differ
    bool refused;
};

class RereadOtherDisk : public Reread, public ::testing::WithParamInterface<OtherDiskCase> {};

TEST_P(RereadOtherDisk, IsRefusedBeforeAnythingIsMerged) {
    const OtherDiskCase& c = GetParam();
    SimulatedFloppy disk(18);
    ReadEarlier(disk, {50, 51, 1700});
    SimulatedFloppy other(18);
    other.MakeUnreadable(51);
    for (uint32_t s : c.changed) other.disk()[s * kSector + 10] ^= 0x5A;

    EXPECT_EQ(Run(other), c.refused ? -1 : 0);

    if (!c.refused) {
        EXPECT_THAT(MapOnDisk(), ElementsAre(51u));
        return;
    }
    ASSERT_THAT(host_.sink.Ids(), ElementsAre(IDS_NOT_THE_SAME_DISK));
    EXPECT_EQ(host_.sink.shown[0].text, target_);
    EXPECT_EQ(outcome_.messageId, static_cast<unsigned>(IDS_NOT_THE_SAME_DISK));
    ExpectUnchanged();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RereadOtherDisk,
    ::testing::Values(OtherDiskCase{"BootSector", {0}, true},
                      OtherDiskCase{"BesideAMappedSector", {49}, true},
                      OtherDiskCase{"EndOfAMappedSectorsUnit", {1719}, true},
                      OtherDiskCase{"StartOfAMappedSectorsUnit", {1680, 1701}, true},
                      // What the earlier read lost cannot be compared: it is what is read.
                      OtherDiskCase{"OnlyTheMappedSectors", {50, 1700}, false}),
    [](const ::testing::TestParamInfo<OtherDiskCase>& p) { return std::string(p.param.name); });

// --- The image and its map change together -------------------------------------------------

struct PlaceCase {
    const char* name;
    bool allRecovered;  // the re-read reads every mapped sector: the map must go
    const char* refusal;  // "replace" or "remove"
    const char* of;       // which file: "image", "map" (the one beside the image), "new map"
    unsigned message;     // 0: the job finishes
};

class RereadPlacesImageAndMap : public Reread, public ::testing::WithParamInterface<PlaceCase> {};

TEST_P(RereadPlacesImageAndMap, TogetherOrNotAtAll) {
    const PlaceCase& c = GetParam();
    SimulatedFloppy disk(18);
    ReadEarlier(disk, {7, 8, 9});
    SimulatedFloppy again(18);
    if (!c.allRecovered) again.MakeUnreadable(9);

    RefusingFiles files;
    const std::string path = std::string(c.of) == "image" ? target_ + ".tmp"
                             : std::string(c.of) == "map" ? target_ + ".map"
                                                          : target_ + ".map.tmp";
    bool refused = false;  // once: what goes back must go back
    files.refuses = [&](const std::string& what, const std::string& name) {
        if (refused || what != c.refusal || name != path) return false;
        return refused = true;
    };

    const int result = Run(again, &files);

    if (c.message == 0) {
        EXPECT_EQ(result, 0);
        if (c.allRecovered) {
            EXPECT_FALSE(FileExists(target_ + ".map"));
        } else {
            EXPECT_THAT(MapOnDisk(), ElementsAre(9u));
        }
        ASSERT_FALSE(files.replaced.empty());
        EXPECT_EQ(files.replaced.back(), target_ + ".tmp") << "the image was placed before its map";
        return;
    }
    EXPECT_EQ(result, -1);
    ASSERT_THAT(host_.sink.Ids(), ElementsAre(c.message));
    ExpectUnchanged();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RereadPlacesImageAndMap,
    ::testing::Values(
        PlaceCase{"NewMapFirst", false, "", "", 0},
        PlaceCase{"EarlierMapGoesFirst", true, "", "", 0},
        PlaceCase{"NewMapNotPlaced", false, "replace", "new map", IDS_UNABLE_TO_CREATE},
        PlaceCase{"EarlierMapStays", true, "replace", "map", IDS_UNABLE_TO_CREATE},
        PlaceCase{"EarlierMapStaysUnderANewOne", false, "replace", "map", IDS_UNABLE_TO_CREATE},
        PlaceCase{"ImageNotPlacedEarlierMapBack", true, "replace", "image", IDS_UNABLE_TO_CREATE},
        PlaceCase{"ImageNotPlacedNewMapUndone", false, "replace", "image", IDS_UNABLE_TO_CREATE}),
    [](const ::testing::TestParamInfo<PlaceCase>& p) { return std::string(p.param.name); });

}  // namespace
