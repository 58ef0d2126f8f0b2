// The read job over the real NT device method under Wine, with a disk whose chosen
// sectors answer with an I/O error: scripts/with-faulty-floppy serves it through FUSE as
// drive A:. Elsewhere, and where FUSE is missing, these tests skip and say why.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "engine/device/nt_floppy_device.h"
#include "engine/image/bad_sector_map.h"
#include "engine/job/read_floppy_job.h"
#include "resources/string_ids.h"
#include "tests/support/job_test_host.h"
#include "tests/support/temp_dir.h"
#include "tests/win32/mapped_floppy.h"

namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

// The failing sectors, or none when the test does not run over the FUSE drive.
std::vector<uint32_t> FaultySectors(std::string* whyNot) {
    const char* missing = getenv("VORLIX_FAULTY_FLOPPY_MISSING");
    const char* list = getenv("VORLIX_FAULTY_SECTORS");
    if (missing != nullptr) {
        *whyNot = std::string("FUSE is not available here: ") + missing;
        return {};
    }
    if (list == nullptr || MappedFloppyImage().empty()) {
        *whyNot = "runs only under scripts/with-faulty-floppy (ctest -R faulty_floppy)";
        return {};
    }
    std::vector<uint32_t> sectors;
    for (const char* p = list; *p != '\0';) {
        char* end = nullptr;
        sectors.push_back(static_cast<uint32_t>(strtoul(p, &end, 10)));
        p = *end == ',' ? end + 1 : end;
        if (end == p && *end != '\0') break;
    }
    return sectors;
}

class FaultyFloppy : public ::testing::Test {
protected:
    void SetUp() override {
        std::string whyNot;
        bad_ = FaultySectors(&whyNot);
        if (bad_.empty()) GTEST_SKIP() << whyNot;
        disk_ = ReadWholeFile(MappedFloppyImage());
        ASSERT_EQ(disk_.size(), 1474560u);
        target_ = dir_.File("rescued.img");
        strcpy(request_.imagePath, target_.c_str());
        request_.retries = 1;
        request_.compatible = true;
    }

    int Run() {
        NtFloppyDevice device("A:");
        ReadFloppyJob job(request_, host_, device);
        return job.Run();
    }

    std::vector<uint32_t> bad_;
    std::string disk_;
    TempDir dir_;
    std::string target_;
    JobRequest request_;
    TestJobHost host_;
};

TEST_F(FaultyFloppy, EmergencyReadZeroesAndMapsExactlyTheFailingSectors) {
    request_.emergency = true;
    ASSERT_EQ(Run(), 0);
    std::string expected = disk_;
    for (uint32_t s : bad_) expected.replace(s * 512, 512, 512, '\0');
    EXPECT_TRUE(ReadWholeFile(target_) == expected) << "not the disk with zeroed sectors";
    BadSectorList mapped;
    ASSERT_EQ(ReadBadSectorMap((target_ + ".map").c_str(), 2880, mapped), 0);
    std::vector<uint32_t> listed;
    for (uint32_t s = 0; s < 2880; ++s) {
        if (mapped.IsBad(s)) listed.push_back(s);
    }
    EXPECT_THAT(listed, ElementsAreArray(bad_));
    EXPECT_THAT(host_.sink.Ids(), ElementsAre(IDS_SECTORS_RECOVERED));
    EXPECT_EQ(host_.Outcome(), JobNotice::Finished);
}

TEST_F(FaultyFloppy, NormalReadStopsAtTheFirstFailingSectorAndNamesIt) {
    EXPECT_EQ(Run(), -1);
    ASSERT_THAT(host_.sink.Ids(), ElementsAre(IDS_SECTOR_READ_FAILED_AT));
    const uint32_t first = bad_[0];
    const std::string prefix = "Sector " + std::to_string(first) + " (cylinder " +
                               std::to_string(first / 36) + ", head " + std::to_string(first / 18 % 2) +
                               ", sector " + std::to_string(first % 18 + 1) + "): ";
    EXPECT_EQ(host_.sink.shown[0].text, prefix);
    EXPECT_EQ(host_.sink.shown[0].number, 21) << "Wine's error for a read the file system refused";
    EXPECT_FALSE(FileExists(target_));
}

}  // namespace
