// The NT method against a disk image that Wine presents as drive A: (see
// scripts/with-floppy-image). Wine's driver does not answer the geometry request, so
// the query goes by the medium's size here.
#include "engine/device/nt_floppy_device.h"
#include "engine/device/floppy_type.h"

#include <windows.h>
#include <winioctl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/simulated_floppy.h"
#include "tests/support/temp_dir.h"
#include "tests/win32/mapped_floppy.h"

namespace {

constexpr uint32_t kSector = FloppyDevice::kSectorSize;
constexpr uint32_t kUnit = 20 * kSector;

std::string Pattern(size_t size) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>(SimulatedFloppy::PatternByte(static_cast<uint32_t>(i)));
    }
    return bytes;
}

std::string Sectors(const std::string& image, uint32_t firstSector, uint32_t bytes) {
    return image.substr(static_cast<size_t>(firstSector) * kSector, bytes);
}

std::string AsText(const std::vector<uint8_t>& buffer, uint32_t bytes) {
    return std::string(reinterpret_cast<const char*>(buffer.data()), bytes);
}

// Nobody holds the image open: an exclusive open of it succeeds.
bool NothingHoldsTheImage(const std::string& image) {
    HANDLE h = CreateFileA(image.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(h);
    return true;
}

class MappedDriveA : public ::testing::Test {
protected:
    void SetUp() override {
        image_ = MappedFloppyImage();
        if (image_.empty()) {
            GTEST_SKIP() << "drive A: is not mapped; run through scripts/with-floppy-image";
        }
    }

    std::string Insert(size_t size) {
        const std::string bytes = Pattern(size);
        WriteWholeFile(image_, bytes);
        return bytes;
    }

    std::string image_;
};

struct SizeCase {
    size_t bytes;
    DeviceQuery result;
    uint32_t sectorsPerTrack;
    uint32_t heads = 2;
};

void PrintTo(const SizeCase& c, std::ostream* os) { *os << c.bytes << " bytes"; }

class NtFloppyDeviceQuery : public MappedDriveA, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(NtFloppyDeviceQuery, GoesByTheMediumSizeAndClosesItsHandle) {
    Insert(GetParam().bytes);
    for (DeviceAccess access : {DeviceAccess::Read, DeviceAccess::Write}) {
        NtFloppyDevice device("A:");
        DiskGeometry geometry;

        EXPECT_EQ(device.QueryGeometry(access, &geometry), GetParam().result);

        EXPECT_EQ(geometry.sectorsPerTrack, GetParam().sectorsPerTrack);
        if (GetParam().result == DeviceQuery::Ok) {
            EXPECT_EQ(geometry.heads, GetParam().heads);
            EXPECT_EQ(geometry.totalSectors, GetParam().bytes / kSector);
        }
        EXPECT_TRUE(NothingHoldsTheImage(image_));
    }
}

INSTANTIATE_TEST_SUITE_P(
    ImageSizes, NtFloppyDeviceQuery,
    ::testing::Values(SizeCase{737280, DeviceQuery::Ok, 9}, SizeCase{1474560, DeviceQuery::Ok, 18},
                      SizeCase{1720320, DeviceQuery::Ok, 21},
                      SizeCase{163840, DeviceQuery::Ok, 8, 1}, SizeCase{184320, DeviceQuery::Ok, 9, 1},
                      SizeCase{327680, DeviceQuery::Ok, 8}, SizeCase{368640, DeviceQuery::Ok, 9},
                      SizeCase{1228800, DeviceQuery::Ok, 15}, SizeCase{2949120, DeviceQuery::Ok, 36},
                      // A size of no known format, however close, is no answer.
                      SizeCase{1474561, DeviceQuery::QueryFailed, 0},
                      SizeCase{1474048, DeviceQuery::QueryFailed, 0},
                      SizeCase{2949632, DeviceQuery::QueryFailed, 0},
                      SizeCase{0, DeviceQuery::QueryFailed, 0}));

using NtFloppyDevice_Mapped = MappedDriveA;

TEST_F(NtFloppyDevice_Mapped, SuccessiveReadsReturnSuccessiveUnits) {
    const std::string disk = Insert(1720320);
    NtFloppyDevice device("a:");
    std::vector<uint8_t> buffer(kUnit);
    std::string read;
    ASSERT_TRUE(device.Open(DeviceAccess::Read));
    for (uint32_t sector = 0; sector < disk.size() / kSector; sector += kUnit / kSector) {
        uint32_t got = 0;
        uint32_t error = 0;
        ASSERT_TRUE(device.Read(sector, buffer.data(), kUnit, &got, &error)) << error;
        ASSERT_EQ(got, kUnit);
        read += AsText(buffer, got);
    }
    device.Close();

    EXPECT_TRUE(read == disk);
    EXPECT_TRUE(NothingHoldsTheImage(image_));
}

TEST_F(NtFloppyDevice_Mapped, ReadsFromAnExplicitlyNamedSector) {
    const std::string disk = Insert(1474560);
    NtFloppyDevice device("A:");
    std::vector<uint8_t> buffer(kUnit);
    uint32_t got = 0;
    uint32_t error = 0;
    ASSERT_TRUE(device.Open(DeviceAccess::Read));

    ASSERT_TRUE(device.Read(0, buffer.data(), kSector, &got, &error));
    // Skipping forward (past a bad sector, say), back, and on from there.
    ASSERT_TRUE(device.Read(2, buffer.data(), kSector, &got, &error));
    EXPECT_EQ(AsText(buffer, got), Sectors(disk, 2, kSector));
    ASSERT_TRUE(device.Read(2860, buffer.data(), kUnit, &got, &error));
    EXPECT_EQ(AsText(buffer, got), Sectors(disk, 2860, kUnit));
    ASSERT_TRUE(device.Read(40, buffer.data(), kUnit, &got, &error));
    EXPECT_EQ(AsText(buffer, got), Sectors(disk, 40, kUnit));
    ASSERT_TRUE(device.Read(60, buffer.data(), kSector, &got, &error));
    EXPECT_EQ(AsText(buffer, got), Sectors(disk, 60, kSector));
}

TEST_F(NtFloppyDevice_Mapped, WritesLandAtTheirSectors) {
    std::string expected = Insert(737280);
    const std::string first(kUnit, 'a');
    const std::string second(kUnit, 'b');
    const std::string later(3 * kSector, 'c');
    {
        NtFloppyDevice device("A:");
        uint32_t error = 0;
        ASSERT_TRUE(device.Open(DeviceAccess::Write));
        ASSERT_TRUE(device.Write(0, first.data(), kUnit, &error)) << error;
        ASSERT_TRUE(device.Write(20, second.data(), kUnit, &error)) << error;
        ASSERT_TRUE(device.Write(1000, later.data(), 3 * kSector, &error)) << error;
        EXPECT_FALSE(device.IsWriteProtectError(0));
        EXPECT_TRUE(device.IsWriteProtectError(ERROR_WRITE_PROTECT));
    }  // closed by going out of scope
    expected.replace(0, kUnit, first);
    expected.replace(20 * kSector, kUnit, second);
    expected.replace(1000 * kSector, 3 * kSector, later);

    EXPECT_TRUE(NothingHoldsTheImage(image_));
    EXPECT_TRUE(ReadWholeFile(image_) == expected);
}

TEST_F(NtFloppyDevice_Mapped, TransfersNeedAnOpenDevice) {
    Insert(1474560);
    NtFloppyDevice device("A:");
    std::vector<uint8_t> buffer(kSector);
    uint32_t got = 0;
    uint32_t error = 0;

    EXPECT_FALSE(device.Read(0, buffer.data(), kSector, &got, &error));
    EXPECT_EQ(error, static_cast<uint32_t>(ERROR_INVALID_HANDLE));
    ASSERT_TRUE(device.Open(DeviceAccess::Read));
    device.Close();
    EXPECT_FALSE(device.Write(0, buffer.data(), kSector, &error));
    EXPECT_EQ(error, static_cast<uint32_t>(ERROR_INVALID_HANDLE));
}

// Needs no mapping: drive B: never has one in the test prefix.
TEST(NtFloppyDevice, AnUnmappedDriveCannotBeOpened) {
    NtFloppyDevice device("B:");
    DiskGeometry geometry;
    EXPECT_EQ(device.QueryGeometry(DeviceAccess::Read, &geometry), DeviceQuery::OpenFailed);
    EXPECT_FALSE(device.Open(DeviceAccess::Read));
    EXPECT_FALSE(device.Open(DeviceAccess::Write));
}

TEST(NtFloppyDevice, AnUnusableDriveTextOpensNothing) {
    const std::string tooLong(300, 'A');
    for (const char* text : {"", tooLong.c_str()}) {
        NtFloppyDevice device(text);
        EXPECT_FALSE(device.Open(DeviceAccess::Read));
    }
}

// The driver's answer to the geometry request, by media type and geometry.
struct MediaCase {
    MEDIA_TYPE mediaType;
    uint32_t cylinders, heads, sectorsPerTrack, bytesPerSector;
    uint32_t kilobytes;  // 0: no format
};

void PrintTo(const MediaCase& c, std::ostream* os) {
    *os << "type " << c.mediaType << ", " << c.cylinders << "x" << c.heads << "x" << c.sectorsPerTrack;
}

class NtMediaType : public ::testing::TestWithParam<MediaCase> {};

TEST_P(NtMediaType, NamesTheFormatOrNone) {
    const MediaCase& c = GetParam();
    DiskGeometry geometry;
    const bool named = FloppyGeometryOfAnswer(static_cast<uint32_t>(c.mediaType), c.cylinders,
                                              c.heads, c.sectorsPerTrack, c.bytesPerSector, &geometry);
    EXPECT_EQ(named, c.kilobytes != 0);
    if (named) {
        EXPECT_EQ(geometry.totalSectors, c.kilobytes * 2);
        const FloppyType* type = FindFloppyTypeOfGeometry(geometry);
        ASSERT_NE(type, nullptr);
        EXPECT_EQ(type->totalBytes, c.kilobytes * 1024);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, NtMediaType,
    ::testing::Values(MediaCase{F5_160_512, 40, 1, 8, 512, 160}, MediaCase{F5_180_512, 40, 1, 9, 512, 180},
                      MediaCase{F5_320_512, 40, 2, 8, 512, 320}, MediaCase{F5_360_512, 40, 2, 9, 512, 360},
                      MediaCase{F3_720_512, 80, 2, 9, 512, 720}, MediaCase{F5_1Pt2_512, 80, 2, 15, 512, 1200},
                      MediaCase{F3_1Pt44_512, 80, 2, 18, 512, 1440},
                      MediaCase{F3_2Pt88_512, 80, 2, 36, 512, 2880},
                      // The 21-sector format has no media type of its own.
                      MediaCase{F3_1Pt44_512, 80, 2, 21, 512, 1680},
                      // A USB drive: its geometry alone.
                      MediaCase{RemovableMedia, 40, 2, 9, 512, 360},
                      // A geometry of no format: the media type's, else the sectors per track.
                      MediaCase{F5_360_512, 41, 2, 9, 512, 360}, MediaCase{Unknown, 0, 0, 18, 512, 1440},
                      MediaCase{F3_20Pt8_512, 0, 0, 18, 512, 0}, MediaCase{F5_320_1024, 40, 2, 8, 1024, 0},
                      MediaCase{F3_1Pt44_512, 80, 2, 18, 2048, 0}, MediaCase{FixedMedia, 1024, 255, 63, 512, 0},
                      MediaCase{F3_640_512, 80, 2, 8, 512, 0}));

}  // namespace
