// The in-memory disk of a conversion: read like the NT method's drive, never written.
#include "engine/device/memory_floppy_device.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/binary_data.h"

namespace {

struct ReadCase {
    const char* name;
    uint32_t firstSector;
    uint32_t bytes;
    bool ok;
    uint32_t transferred;
    uint32_t error;
};

TEST(MemoryFloppyDevice, ReadsLikeADriveAtEveryPlace) {
    const std::string disk = BinaryTestData(18 * 512 * 2 * 80, 90);
    MemoryFloppyDevice device(disk.data(), static_cast<uint32_t>(disk.size()), *FindFloppyType(18));
    ASSERT_TRUE(device.Open(DeviceAccess::Read));
    const uint32_t sectors = static_cast<uint32_t>(disk.size() / 512);
    const ReadCase cases[] = {
        {"first unit", 0, 10240, true, 10240, 0},
        {"last unit", sectors - 20, 10240, true, 10240, 0},
        {"over the end", sectors - 2, 10240, true, 1024, 0},
        {"at the end", sectors, 10240, true, 0, 0},
        {"past the end", sectors + 1, 512, false, 0, MemoryFloppyDevice::kPastTheEnd},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<char> buffer(c.bytes, 0);
        uint32_t transferred = 99, error = 99;
        EXPECT_EQ(device.Read(c.firstSector, buffer.data(), c.bytes, &transferred, &error), c.ok);
        EXPECT_EQ(transferred, c.transferred);
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(std::string(buffer.data(), transferred),
                  disk.substr(static_cast<size_t>(c.firstSector) * 512 < disk.size()
                                  ? static_cast<size_t>(c.firstSector) * 512
                                  : disk.size(),
                              transferred));
    }
}

TEST(MemoryFloppyDevice, CanNeitherBeWrittenNorReadWhenClosed) {
    std::string disk(9 * 512 * 2 * 80, 'd');
    MemoryFloppyDevice device(disk.data(), static_cast<uint32_t>(disk.size()), *FindFloppyType(9));
    DiskGeometry geometry;
    EXPECT_EQ(device.QueryGeometry(DeviceAccess::Read, &geometry), DeviceQuery::Ok);
    EXPECT_EQ(geometry.sectorsPerTrack, 9u);
    EXPECT_EQ(geometry.totalSectors, 1440u);
    EXPECT_EQ(device.QueryGeometry(DeviceAccess::Write, &geometry), DeviceQuery::OpenFailed);
    EXPECT_FALSE(device.Open(DeviceAccess::Write));

    char buffer[512];
    uint32_t transferred = 0, error = 0;
    EXPECT_FALSE(device.Read(0, buffer, 512, &transferred, &error)) << "not open";
    EXPECT_EQ(error, MemoryFloppyDevice::kNotOpen);

    ASSERT_TRUE(device.Open(DeviceAccess::Read));
    EXPECT_FALSE(device.Write(0, "x", 512, &error));
    EXPECT_TRUE(device.IsWriteProtectError(error));
    device.Close();
    EXPECT_FALSE(device.Read(0, buffer, 512, &transferred, &error));
    EXPECT_EQ(disk, std::string(disk.size(), 'd'));
}

}  // namespace
