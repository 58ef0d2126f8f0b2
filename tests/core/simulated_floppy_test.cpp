// The simulated drive stands in for real hardware in the job tests; these pin down the
// behaviour those tests rely on.
#include "tests/support/simulated_floppy.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

constexpr uint32_t kSector = FloppyDevice::kSectorSize;

TEST(SimulatedFloppy, EverySectorOfAFreshDiskDiffers) {
    SimulatedFloppy floppy(21);
    std::vector<std::vector<uint8_t>> seen;
    const auto& disk = floppy.disk();
    for (uint32_t s = 0; s < floppy.SectorCount(); ++s) {
        const std::vector<uint8_t> sector(disk.begin() + s * kSector, disk.begin() + (s + 1) * kSector);
        EXPECT_NE(sector, std::vector<uint8_t>(kSector, 0)) << "sector " << s;
        seen.push_back(sector);
    }
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(std::adjacent_find(seen.begin(), seen.end()), seen.end());
}

TEST(SimulatedFloppy, NtKeepsAPositionAndCountsSeeks) {
    SimulatedFloppy floppy(18, SimulatedFloppy::Flavour::Nt);
    std::vector<uint8_t> buffer(2 * kSector);
    uint32_t got = 0;
    uint32_t error = 0;
    ASSERT_TRUE(floppy.Open(DeviceAccess::Read));
    ASSERT_TRUE(floppy.Read(0, buffer.data(), 2 * kSector, &got, &error));
    ASSERT_TRUE(floppy.Read(2, buffer.data(), 2 * kSector, &got, &error));
    EXPECT_EQ(floppy.seeks(), 0u);
    ASSERT_TRUE(floppy.Read(10, buffer.data(), kSector, &got, &error));
    EXPECT_EQ(floppy.seeks(), 1u);
    EXPECT_EQ(buffer[0], SimulatedFloppy::PatternByte(10 * kSector));
}

TEST(SimulatedFloppy, EndOfDiskByFlavour) {
    std::vector<uint8_t> buffer(20 * kSector);
    uint32_t got = 99;
    uint32_t error = 0;
    SimulatedFloppy nt(9, SimulatedFloppy::Flavour::Nt);
    ASSERT_TRUE(nt.Open(DeviceAccess::Read));
    EXPECT_TRUE(nt.Read(1430, buffer.data(), 20 * kSector, &got, &error));
    EXPECT_EQ(got, 10 * kSector);
    EXPECT_TRUE(nt.Read(1440, buffer.data(), 20 * kSector, &got, &error));
    EXPECT_EQ(got, 0u);

    SimulatedFloppy vwin32(9, SimulatedFloppy::Flavour::Vwin32);
    ASSERT_TRUE(vwin32.Open(DeviceAccess::Read));
    EXPECT_FALSE(vwin32.Read(1430, buffer.data(), 20 * kSector, &got, &error));
    EXPECT_EQ(error, SimulatedFloppy::kSectorNotFound);
    EXPECT_FALSE(vwin32.Write(1440, buffer.data(), kSector, &error));
    EXPECT_EQ(error, SimulatedFloppy::kSectorNotFound);
}

TEST(SimulatedFloppy, UnreadableSectorFailsEveryReadCoveringIt) {
    SimulatedFloppy floppy(18);
    floppy.MakeUnreadable(25);
    std::vector<uint8_t> buffer(20 * kSector, 0xEE);
    uint32_t got = 0;
    uint32_t error = 0;
    ASSERT_TRUE(floppy.Open(DeviceAccess::Read));
    EXPECT_TRUE(floppy.Read(0, buffer.data(), 20 * kSector, &got, &error));
    EXPECT_FALSE(floppy.Read(20, buffer.data(), 20 * kSector, &got, &error));
    EXPECT_EQ(error, SimulatedFloppy::kCrcError);
    EXPECT_EQ(got, 0u);
    EXPECT_TRUE(floppy.Read(26, buffer.data(), kSector, &got, &error));
}

TEST(SimulatedFloppy, WriteProtectionAndWriteFaultsLeaveTheDiskAlone) {
    const std::vector<uint8_t> zeros(kSector, 0);
    uint32_t error = 0;
    for (auto flavour : {SimulatedFloppy::Flavour::Nt, SimulatedFloppy::Flavour::Vwin32}) {
        SimulatedFloppy floppy(18, flavour);
        const std::vector<uint8_t> before = floppy.disk();
        floppy.SetWriteProtected(true);
        ASSERT_TRUE(floppy.Open(DeviceAccess::Write));
        EXPECT_FALSE(floppy.Write(0, zeros.data(), kSector, &error));
        EXPECT_TRUE(floppy.IsWriteProtectError(error));
        floppy.SetWriteProtected(false);
        floppy.FailWriteAt(3);
        EXPECT_TRUE(floppy.Write(2, zeros.data(), kSector, &error));
        EXPECT_FALSE(floppy.Write(3, zeros.data(), kSector, &error));
        EXPECT_FALSE(floppy.IsWriteProtectError(error));
        EXPECT_EQ(std::vector<uint8_t>(floppy.disk().begin() + 3 * kSector,
                                       floppy.disk().begin() + 4 * kSector),
                  std::vector<uint8_t>(before.begin() + 3 * kSector, before.begin() + 4 * kSector));
    }
}

TEST(SimulatedFloppy, NtRefusesTransfersAgainstTheOpenDirection) {
    SimulatedFloppy floppy(18, SimulatedFloppy::Flavour::Nt);
    std::vector<uint8_t> buffer(kSector);
    uint32_t got = 0;
    uint32_t error = 0;
    ASSERT_TRUE(floppy.Open(DeviceAccess::Read));
    EXPECT_FALSE(floppy.Write(0, buffer.data(), kSector, &error));
    EXPECT_EQ(error, SimulatedFloppy::kAccessDenied);
    floppy.Close();
    EXPECT_FALSE(floppy.Read(0, buffer.data(), kSector, &got, &error));
    EXPECT_EQ(error, SimulatedFloppy::kNotOpen);
}

TEST(SimulatedFloppy, ASecondOpenWithoutCloseCountsAsLeaked) {
    SimulatedFloppy floppy(18);
    ASSERT_TRUE(floppy.Open(DeviceAccess::Read));
    ASSERT_TRUE(floppy.Open(DeviceAccess::Read));
    floppy.Close();
    EXPECT_FALSE(floppy.IsOpen());
    EXPECT_FALSE(floppy.EveryOpenClosed());
}

}  // namespace
