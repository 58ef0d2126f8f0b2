// The Windows 9x method against an emulation of the VWIN32 service, which checks every
// register and record the method hands over.
#include "engine/device/vwin32_floppy_device_win32.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/device/vwin32_records.h"
#include "tests/support/simulated_floppy.h"
#include "tests/win32/only_32_bit.h"
#include "tests/win32/vwin32_service_emulation.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr uint32_t kSector = FloppyDevice::kSectorSize;
constexpr uint32_t kUnit = 20 * kSector;
constexpr auto kVwin32 = SimulatedFloppy::Flavour::Vwin32;

std::vector<uint8_t> Slice(const std::vector<uint8_t>& disk, uint32_t firstSector, uint32_t bytes) {
    const auto begin = disk.begin() + static_cast<size_t>(firstSector) * kSector;
    return std::vector<uint8_t>(begin, begin + bytes);
}

class Vwin32Query : public ::testing::TestWithParam<uint32_t> {};

TEST_P(Vwin32Query, AnswersTheMediumsSectorsPerTrackAndClosesTheService) {
    VORLIX_ONLY_32_BIT();
    for (DeviceAccess access : {DeviceAccess::Read, DeviceAccess::Write}) {
        SimulatedFloppy disk(GetParam(), kVwin32);
        Vwin32ServiceEmulation service(disk);
        Vwin32FloppyDevice device("A:", service.Calls());
        DiskGeometry geometry;

        EXPECT_EQ(device.QueryGeometry(access, &geometry), DeviceQuery::Ok);

        EXPECT_EQ(geometry.sectorsPerTrack, GetParam());
        EXPECT_THAT(service.problems(), IsEmpty());
        EXPECT_EQ(service.OpenHandles(), 0u);
        ASSERT_EQ(disk.opens().size(), 1u);
        EXPECT_EQ(disk.opens()[0].access, access);
        EXPECT_TRUE(disk.EveryOpenClosed());
    }
}

// The three formats, and values only the type check refuses.
INSTANTIATE_TEST_SUITE_P(Values, Vwin32Query, ::testing::Values(9u, 18u, 21u, 15u, 36u, 300u));

TEST(Vwin32FloppyDevice, QueryFailuresAreToldApart) {
    VORLIX_ONLY_32_BIT();
    SimulatedFloppy disk(18, kVwin32);
    Vwin32ServiceEmulation service(disk);
    Vwin32FloppyDevice device("A:", service.Calls());
    DiskGeometry geometry;

    disk.FailQuery(true);  // carry set
    EXPECT_EQ(device.QueryGeometry(DeviceAccess::Read, &geometry),
              DeviceQuery::QueryFailed);
    disk.FailQuery(false);
    service.FailCalls(ERROR_NOT_SUPPORTED);
    EXPECT_EQ(device.QueryGeometry(DeviceAccess::Read, &geometry),
              DeviceQuery::QueryFailed);
    service.FailCalls(0);
    service.AllowOpens(0);
    EXPECT_EQ(device.QueryGeometry(DeviceAccess::Read, &geometry),
              DeviceQuery::OpenFailed);
    EXPECT_FALSE(device.Open(DeviceAccess::Read));

    EXPECT_THAT(service.problems(), IsEmpty());
    EXPECT_EQ(service.OpenHandles(), 0u);
    EXPECT_TRUE(disk.EveryOpenClosed());
}

struct DriveCase {
    const char* text;
    uint32_t number;
};

void PrintTo(const DriveCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class Vwin32Drive : public ::testing::TestWithParam<DriveCase> {};

TEST_P(Vwin32Drive, EveryRequestAddressesTheDrivesNumber) {
    VORLIX_ONLY_32_BIT();
    SimulatedFloppy disk(18, kVwin32);
    Vwin32ServiceEmulation service(disk, GetParam().number);
    Vwin32FloppyDevice device(GetParam().text, service.Calls());
    std::vector<uint8_t> buffer(kSector);
    DiskGeometry geometry;
    uint32_t got = 0;
    uint32_t error = 0;

    EXPECT_EQ(Vwin32DriveNumber(GetParam().text), GetParam().number);
    EXPECT_EQ(device.QueryGeometry(DeviceAccess::Write, &geometry), DeviceQuery::Ok);
    ASSERT_TRUE(device.Open(DeviceAccess::Write));
    EXPECT_TRUE(device.Read(0, buffer.data(), kSector, &got, &error));
    EXPECT_TRUE(device.Write(0, buffer.data(), kSector, &error));
    EXPECT_THAT(service.problems(), IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(DriveTexts, Vwin32Drive,
                         ::testing::Values(DriveCase{"A:", 1}, DriveCase{"B:", 2},
                                           DriveCase{"b:", 2}, DriveCase{"a:", 1},
                                           DriveCase{"C:", 1}, DriveCase{"B", 1},
                                           DriveCase{"B:\\", 1}, DriveCase{"", 1}));

TEST(Vwin32FloppyDevice, ReadsTheWholeDiskUnitByUnit) {
    VORLIX_ONLY_32_BIT();
    SimulatedFloppy disk(21, kVwin32);
    Vwin32ServiceEmulation service(disk);
    Vwin32FloppyDevice device("A:", service.Calls());
    std::vector<uint8_t> image;
    std::vector<uint8_t> buffer(kUnit);
    ASSERT_TRUE(device.Open(DeviceAccess::Read));

    for (uint32_t sector = 0; sector < disk.SectorCount(); sector += kUnit / kSector) {
        uint32_t got = 0;
        uint32_t error = 0;
        ASSERT_TRUE(device.Read(sector, buffer.data(), kUnit, &got, &error)) << sector;
        ASSERT_EQ(got, kUnit);
        image.insert(image.end(), buffer.begin(), buffer.end());
    }
    device.Close();

    EXPECT_TRUE(image == disk.disk());
    EXPECT_THAT(service.problems(), IsEmpty());
    EXPECT_TRUE(disk.EveryOpenClosed());
}

TEST(Vwin32FloppyDevice, ReadsAndWritesAtTheNamedSector) {
    VORLIX_ONLY_32_BIT();
    SimulatedFloppy disk(18, kVwin32);
    const std::vector<uint8_t> fresh = disk.disk();
    Vwin32ServiceEmulation service(disk);
    Vwin32FloppyDevice device("A:", service.Calls());
    std::vector<uint8_t> buffer(3 * kSector);
    uint32_t got = 0;
    uint32_t error = 0;

    ASSERT_TRUE(device.Open(DeviceAccess::Read));
    ASSERT_TRUE(device.Read(2877, buffer.data(), 3 * kSector, &got, &error));
    EXPECT_EQ(buffer, Slice(fresh, 2877, 3 * kSector));
    ASSERT_TRUE(device.Read(5, buffer.data(), kSector, &got, &error));
    EXPECT_EQ(std::vector<uint8_t>(buffer.begin(), buffer.begin() + kSector), Slice(fresh, 5, kSector));
    device.Close();

    const std::vector<uint8_t> data(2 * kSector, 0x6C);
    ASSERT_TRUE(device.Open(DeviceAccess::Write));
    ASSERT_TRUE(device.Write(100, data.data(), 2 * kSector, &error));
    device.Close();

    std::vector<uint8_t> expected = fresh;
    std::copy(data.begin(), data.end(), expected.begin() + 100 * kSector);
    EXPECT_TRUE(disk.disk() == expected);
    EXPECT_THAT(service.problems(), IsEmpty());
}

TEST(Vwin32FloppyDevice, WriteProtectionIsToldApartFromOtherWriteErrors) {
    VORLIX_ONLY_32_BIT();
    SimulatedFloppy disk(18, kVwin32);
    const std::vector<uint8_t> fresh = disk.disk();
    Vwin32ServiceEmulation service(disk);
    Vwin32FloppyDevice device("A:", service.Calls());
    const std::vector<uint8_t> data(kUnit, 0);
    uint32_t error = 0;
    ASSERT_TRUE(device.Open(DeviceAccess::Write));

    disk.SetWriteProtected(true);
    EXPECT_FALSE(device.Write(0, data.data(), kUnit, &error));
    EXPECT_EQ(error, 0x100Au);
    EXPECT_TRUE(device.IsWriteProtectError(error));

    disk.SetWriteProtected(false);
    disk.FailWriteAt(45, 0x1B);
    EXPECT_FALSE(device.Write(40, data.data(), kUnit, &error));
    EXPECT_EQ(error, 0x1Bu);
    EXPECT_FALSE(device.IsWriteProtectError(error));
    EXPECT_FALSE(device.IsWriteProtectError(19));

    EXPECT_TRUE(disk.disk() == fresh);
    EXPECT_THAT(service.problems(), IsEmpty());
}

TEST(Vwin32FloppyDevice, AFailedReadReportsEaxAndTheNextRequestIsWhole) {
    VORLIX_ONLY_32_BIT();
    SimulatedFloppy disk(18, kVwin32);
    disk.MakeUnreadable(7, 0x17);
    Vwin32ServiceEmulation service(disk);
    Vwin32FloppyDevice device("A:", service.Calls());
    std::vector<uint8_t> buffer(kSector);
    uint32_t got = 1;
    uint32_t error = 0;
    ASSERT_TRUE(device.Open(DeviceAccess::Read));

    EXPECT_FALSE(device.Read(7, buffer.data(), kSector, &got, &error));
    EXPECT_EQ(error, 0x17u);
    EXPECT_EQ(got, 0u);
    // The service scrambled the registers and the block: the next request must not care.
    EXPECT_TRUE(device.Read(8, buffer.data(), kSector, &got, &error));
    EXPECT_EQ(buffer, Slice(disk.disk(), 8, kSector));
    EXPECT_THAT(service.problems(), IsEmpty());
}

TEST(Vwin32FloppyDevice, AFailedCallReportsTheSystemsErrorNotTheRequest) {
    VORLIX_ONLY_32_BIT();
    SimulatedFloppy disk(18, kVwin32);
    Vwin32ServiceEmulation service(disk);
    Vwin32FloppyDevice device("A:", service.Calls());
    std::vector<uint8_t> buffer(kSector);
    uint32_t got = 0;
    uint32_t error = 0;
    ASSERT_TRUE(device.Open(DeviceAccess::Read));
    service.FailCalls(ERROR_NOT_READY);

    EXPECT_FALSE(device.Read(0, buffer.data(), kSector, &got, &error));
    EXPECT_EQ(error, static_cast<uint32_t>(ERROR_NOT_READY));
}

TEST(Vwin32FloppyDevice, RefusesWhatTheServiceCannotCarryWithoutAsking) {
    VORLIX_ONLY_32_BIT();
    SimulatedFloppy disk(18, kVwin32);
    Vwin32ServiceEmulation service(disk);
    Vwin32FloppyDevice device("A:", service.Calls());
    std::vector<uint8_t> buffer(kSector);
    uint32_t got = 0;
    uint32_t error = 0;

    EXPECT_FALSE(device.Read(0, buffer.data(), kSector, &got, &error));  // not open
    EXPECT_EQ(error, static_cast<uint32_t>(ERROR_INVALID_HANDLE));
    ASSERT_TRUE(device.Open(DeviceAccess::Read));
    for (uint32_t bytes : {0u, 1u, 511u, 513u, 0x10000u * kSector}) {
        EXPECT_FALSE(device.Read(0, buffer.data(), bytes, &got, &error)) << bytes;
        EXPECT_EQ(error, static_cast<uint32_t>(ERROR_INVALID_PARAMETER));
    }
    EXPECT_EQ(service.requests(), 0);
}

TEST(Vwin32FloppyDevice, DestructionClosesTheService) {
    VORLIX_ONLY_32_BIT();
    SimulatedFloppy disk(18, kVwin32);
    Vwin32ServiceEmulation service(disk);
    {
        Vwin32FloppyDevice device("A:", service.Calls());
        ASSERT_TRUE(device.Open(DeviceAccess::Write));
        ASSERT_TRUE(device.Open(DeviceAccess::Write));  // reopening lets go of the first
        EXPECT_EQ(service.OpenHandles(), 1u);
    }
    EXPECT_EQ(service.OpenHandles(), 0u);
    EXPECT_TRUE(disk.EveryOpenClosed());
}

// Windows 95 and 98 take absolute disk writes only on a locked logical volume: the lock
// comes before the first write, whether the job asked for it or the write did, and goes
// at Close. A service without it refuses, and the write goes on.
struct LockCase {
    const char* name;
    uint32_t refusal;     // 0: granted
    bool jobAsks;         // LockVolume before the writes
    VolumeLock answer;    // what LockVolume says
    std::vector<std::string> events;
};

class Vwin32WriteLock : public ::testing::TestWithParam<LockCase> {};

TEST_P(Vwin32WriteLock, ComesBeforeTheFirstWriteAndGoesAtClose) {
    VORLIX_ONLY_32_BIT();
    const LockCase& c = GetParam();
    SimulatedFloppy disk(18, kVwin32);
    Vwin32ServiceEmulation service(disk, 2);
    if (c.refusal != 0) service.RefuseLock(c.refusal);
    Vwin32FloppyDevice device("B:", service.Calls());
    const std::vector<uint8_t> data(kUnit, 0x5A);
    uint32_t error = 0;
    ASSERT_TRUE(device.Open(DeviceAccess::Write));
    if (c.jobAsks) {
        EXPECT_EQ(device.LockVolume(DeviceAccess::Write), c.answer);
    }
    EXPECT_TRUE(device.Write(0, data.data(), kUnit, &error)) << error;
    EXPECT_TRUE(device.Write(20, data.data(), kUnit, &error)) << error;
    device.Close();

    EXPECT_EQ(service.volumeEvents(), c.events);
    EXPECT_FALSE(service.LockHeld());
    EXPECT_EQ(Slice(disk.disk(), 20, kUnit), data) << "the write did not go on";
    EXPECT_THAT(service.problems(), IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Answers, Vwin32WriteLock,
    ::testing::Values(
        LockCase{"JobAsks", 0, true, VolumeLock::Locked, {"lock", "write", "write", "unlock"}},
        LockCase{"FirstWriteAsks", 0, false, VolumeLock::Locked, {"lock", "write", "write", "unlock"}},
        LockCase{"NoLockInTheService", 0x01, true, VolumeLock::Unsupported,
                 {"refused", "write", "write"}},
        LockCase{"RefusedOnceOnly", 0x05, false, VolumeLock::Unsupported,
                 {"refused", "write", "write"}}),
    [](const ::testing::TestParamInfo<LockCase>& param) { return std::string(param.param.name); });

// The lock alone carries no address, so this part runs in every build.
TEST(Vwin32FloppyDevice, OnlyWritingLocksAndEveryOpenStartsAfresh) {
    SimulatedFloppy disk(18, kVwin32);
    Vwin32ServiceEmulation service(disk);
    Vwin32FloppyDevice device("A:", service.Calls());
    EXPECT_EQ(device.LockVolume(DeviceAccess::Write), VolumeLock::Unsupported) << "locked while closed";
    ASSERT_TRUE(device.Open(DeviceAccess::Read));
    EXPECT_EQ(device.LockVolume(DeviceAccess::Read), VolumeLock::Unsupported);
    EXPECT_THAT(service.volumeEvents(), IsEmpty());

    ASSERT_TRUE(device.Open(DeviceAccess::Write));
    EXPECT_EQ(device.LockVolume(DeviceAccess::Write), VolumeLock::Locked);
    EXPECT_EQ(device.LockVolume(DeviceAccess::Write), VolumeLock::Locked);  // asked once
    ASSERT_TRUE(device.Open(DeviceAccess::Write));  // reopening lets go of the lock too
    EXPECT_EQ(device.LockVolume(DeviceAccess::Write), VolumeLock::Locked);
    device.Close();
    device.Close();
    EXPECT_THAT(service.volumeEvents(), ElementsAre("lock", "unlock", "lock", "unlock"));
    EXPECT_THAT(service.problems(), IsEmpty());
}

// A failed request's EAX: the disk gone (no medium, door open, drive not ready) against a
// sector that failed.
struct GoneCase {
    uint32_t eax;
    bool gone;
};

class Vwin32MediumGone : public ::testing::TestWithParam<GoneCase> {};

TEST_P(Vwin32MediumGone, TellsAMissingDiskFromABadSector) {
    SimulatedFloppy disk(18, kVwin32);
    Vwin32ServiceEmulation service(disk);
    Vwin32FloppyDevice device("A:", service.Calls());
    EXPECT_EQ(device.MediumGone(GetParam().eax), GetParam().gone) << std::hex << GetParam().eax;
}

INSTANTIATE_TEST_SUITE_P(
    Statuses, Vwin32MediumGone,
    ::testing::Values(GoneCase{0x15, true},     // MS-DOS: drive not ready
                      GoneCase{0x8002, true},   // timeout, drive not ready
                      GoneCase{0x800C, true},   // timeout, general failure
                      GoneCase{0xAA02, true},   // Int 13h: drive not ready
                      GoneCase{0x3102, true},   // Int 13h extensions: no medium
                      GoneCase{0x0202, true},   // bad address mark, drive not ready
                      GoneCase{0x1004, false},  // data error (CRC)
                      GoneCase{0x0408, false},  // sector not found
                      GoneCase{0x100A, false},  // write protected
                      GoneCase{0x02, false},    // MS-DOS: file not found
                      GoneCase{0x17, false}, GoneCase{0, false}));

TEST(Vwin32FloppyDevice, AnEmptyDriveReadsAsMediumGone) {
    VORLIX_ONLY_32_BIT();
    SimulatedFloppy disk(18, kVwin32);
    disk.MakeUnreadable(7, 0x8002);
    Vwin32ServiceEmulation service(disk);
    Vwin32FloppyDevice device("A:", service.Calls());
    std::vector<uint8_t> buffer(kSector);
    uint32_t got = 0;
    uint32_t error = 0;
    ASSERT_TRUE(device.Open(DeviceAccess::Read));
    EXPECT_FALSE(device.Read(7, buffer.data(), kSector, &got, &error));
    EXPECT_TRUE(device.MediumGone(error)) << std::hex << error;
    EXPECT_TRUE(device.Read(6, buffer.data(), kSector, &got, &error));
}

}  // namespace
