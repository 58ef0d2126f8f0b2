#include "engine/device/floppy_type.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "resources/string_ids.h"
#include "tests/support/recording_sink.h"
#include "tests/support/simulated_floppy.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

struct KnownType {
    uint32_t sectorsPerTrack;
    uint32_t totalBytes;
    const char* sizeText;
};

class DetermineKnownType : public ::testing::TestWithParam<std::tuple<KnownType, DeviceAccess>> {};

TEST_P(DetermineKnownType, TakesSizeFromTheTableAndClosesTheQueryHandle) {
    const KnownType expected = std::get<0>(GetParam());
    const DeviceAccess access = std::get<1>(GetParam());
    SimulatedFloppy floppy(expected.sectorsPerTrack);
    RecordingSink sink;
    const FloppyType* type = nullptr;

    ASSERT_EQ(DetermineFloppyType(floppy, access, "A:", sink, &type), 0);

    ASSERT_NE(type, nullptr);
    EXPECT_EQ(type->sectorsPerTrack, expected.sectorsPerTrack);
    EXPECT_EQ(type->totalBytes, expected.totalBytes);
    EXPECT_STREQ(type->sizeText, expected.sizeText);
    EXPECT_EQ(type->totalBytes, floppy.disk().size());
    EXPECT_THAT(sink.shown, IsEmpty());
    ASSERT_EQ(floppy.opens().size(), 1u);
    EXPECT_EQ(floppy.opens()[0].access, access);
    EXPECT_TRUE(floppy.EveryOpenClosed());
    EXPECT_FALSE(floppy.IsOpen());
}

INSTANTIATE_TEST_SUITE_P(
    AllFormats, DetermineKnownType,
    ::testing::Combine(::testing::Values(KnownType{9, 737280, "720 kB"},
                                         KnownType{18, 1474560, "1440 kB"},
                                         KnownType{21, 1720320, "1680 kB"}),
                       ::testing::Values(DeviceAccess::Read, DeviceAccess::Write)));

class DetermineUnknownType : public ::testing::TestWithParam<uint32_t> {};

TEST_P(DetermineUnknownType, IsRefusedAsUnknown) {
    SimulatedFloppy floppy(18);
    floppy.ReportSectorsPerTrack(GetParam());
    RecordingSink sink;
    const FloppyType* type = nullptr;

    EXPECT_EQ(DetermineFloppyType(floppy, DeviceAccess::Read, "A:", sink, &type), -1);

    EXPECT_EQ(type, nullptr);
    EXPECT_EQ(FindFloppyType(GetParam()), nullptr);
    ASSERT_THAT(sink.Ids(), ElementsAre(IDS_UNKNOWN_FLOPPY_TYPE));
    EXPECT_EQ(sink.shown[0].style, MessageStyle::Error);
    EXPECT_TRUE(floppy.EveryOpenClosed());
}

// 5.25-inch 1.2 MB, 2.88 MB, nothing, and the neighbours of the known values.
INSTANTIATE_TEST_SUITE_P(Values, DetermineUnknownType,
                         ::testing::Values(15u, 36u, 0u, 8u, 10u, 17u, 19u, 20u, 22u,
                                           0xFFFFFFFFu));

TEST(DetermineFloppyType, QueryFailureIsUnknownTypeAndClosesTheDevice) {
    SimulatedFloppy floppy(18);
    floppy.FailQuery(true);
    RecordingSink sink;
    const FloppyType* type = nullptr;

    EXPECT_EQ(DetermineFloppyType(floppy, DeviceAccess::Write, "A:", sink, &type), -1);

    EXPECT_THAT(sink.Ids(), ElementsAre(IDS_UNKNOWN_FLOPPY_TYPE));
    ASSERT_EQ(floppy.opens().size(), 1u);
    EXPECT_TRUE(floppy.EveryOpenClosed());
    EXPECT_FALSE(floppy.IsOpen());
}

TEST(DetermineFloppyType, OpenFailureNamesTheDriveOnly) {
    SimulatedFloppy floppy(18);
    floppy.FailOpen(true, true);
    RecordingSink sink;
    const FloppyType* type = nullptr;

    EXPECT_EQ(DetermineFloppyType(floppy, DeviceAccess::Read, "B:", sink, &type), -1);

    ASSERT_THAT(sink.Ids(), ElementsAre(IDS_UNABLE_TO_OPEN));
    EXPECT_EQ(sink.shown[0].style, MessageStyle::Error);
    EXPECT_EQ(sink.shown[0].text, "B:");
    EXPECT_EQ(type, nullptr);
    EXPECT_FALSE(floppy.IsOpen());
}

// Image against disk: every pair of image value I and disk value D.
struct Verdict {
    int32_t image;
    uint32_t disk;
    unsigned id;  // 0: fits
    std::string text;
    long number;
};

void PrintTo(const Verdict& v, std::ostream* os) { *os << "I=" << v.image << " D=" << v.disk; }

class CheckImageAgainstDiskTable : public ::testing::TestWithParam<Verdict> {};

TEST_P(CheckImageAgainstDiskTable, GivesTheVerdict) {
    const Verdict& v = GetParam();
    RecordingSink sink;

    const FloppyType* disk = FindFloppyType(v.disk);
    ASSERT_NE(disk, nullptr);
    const int result = CheckImageAgainstDisk(FindFloppyTypeOfTrailer(v.image, 0), *disk, sink);

    if (v.id == 0) {
        EXPECT_EQ(result, 0);
        EXPECT_THAT(sink.shown, IsEmpty());
        return;
    }
    EXPECT_EQ(result, -1);
    ASSERT_THAT(sink.Ids(), ElementsAre(v.id));
    EXPECT_EQ(sink.shown[0].style, MessageStyle::Error);
    EXPECT_EQ(sink.shown[0].text, v.text);
    EXPECT_EQ(sink.shown[0].number, v.number);
}

constexpr unsigned kFits = 0;
constexpr unsigned kDensity = IDS_DISK_NEEDS_OTHER_DENSITY;
constexpr unsigned kFormat = IDS_DISK_NEEDS_OTHER_FORMAT;
const char kDD[] = "double density (DD)";
const char kHD[] = "high density (HD)";

INSTANTIATE_TEST_SUITE_P(
    AllPairs, CheckImageAgainstDiskTable,
    ::testing::Values(
        Verdict{9, 9, kFits, "", 0}, Verdict{9, 18, kDensity, kDD, 0},
        Verdict{9, 21, kDensity, kDD, 0},
        Verdict{18, 9, kDensity, kHD, 0}, Verdict{18, 18, kFits, "", 0},
        Verdict{18, 21, kFormat, "", 1440},
        Verdict{21, 9, kDensity, kHD, 0}, Verdict{21, 18, kFormat, "", 1680},
        Verdict{21, 21, kFits, "", 0},
        // No trailer, or a number no image of ours holds: nothing to compare.
        Verdict{0, 9, kFits, "", 0}, Verdict{0, 18, kFits, "", 0}, Verdict{0, 21, kFits, "", 0},
        Verdict{7, 9, kFits, "", 0}, Verdict{7, 18, kFits, "", 0}, Verdict{7, 21, kFits, "", 0},
        Verdict{15, 18, kFits, "", 0}, Verdict{36, 21, kFits, "", 0},
        Verdict{-1, 9, kFits, "", 0}, Verdict{-18, 18, kFits, "", 0}));

}  // namespace
