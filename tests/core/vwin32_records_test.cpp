// The medium's geometry from the BPB of the 9x service's device parameters.
#include "engine/device/vwin32_records.h"

#include <gtest/gtest.h>

#include "engine/device/floppy_type.h"

namespace {

struct Bpb {
    uint32_t bytesPerSector, sectorsPerTrack, heads, totalSectors, bigTotalSectors;
    uint32_t kilobytes;  // the format DetermineFloppyType finds, 0 for none
};

DeviceParameters Block(const Bpb& b) {
    DeviceParameters parameters = {};
    auto word = [&parameters](unsigned at, uint32_t value) {
        parameters.bytes[at] = static_cast<uint8_t>(value);
        parameters.bytes[at + 1] = static_cast<uint8_t>(value >> 8);
    };
    word(kDeviceParametersBytesPerSector, b.bytesPerSector);
    word(kDeviceParametersSectorsPerTrack, b.sectorsPerTrack);
    word(kDeviceParametersHeads, b.heads);
    word(kDeviceParametersTotalSectors, b.totalSectors);
    word(kDeviceParametersBigTotalSectors, b.bigTotalSectors & 0xFFFF);
    word(kDeviceParametersBigTotalSectors + 2, b.bigTotalSectors >> 16);
    return parameters;
}

TEST(Vwin32DeviceParameters, TheBpbNamesTheFormat) {
    const Bpb cases[] = {
        {512, 8, 1, 320, 0, 160},    {512, 9, 1, 360, 0, 180},    {512, 8, 2, 640, 0, 320},
        {512, 9, 2, 720, 0, 360},    {512, 9, 2, 1440, 0, 720},   {512, 15, 2, 2400, 0, 1200},
        {512, 18, 2, 2880, 0, 1440}, {512, 21, 2, 3360, 0, 1680}, {512, 36, 2, 5760, 0, 2880},
        // The 32-bit count where the 16-bit one is empty.
        {512, 36, 2, 0, 5760, 2880},
        // A service that fills the sectors per track alone: the classic formats only.
        {0, 18, 0, 0, 0, 1440},      {0, 15, 0, 0, 0, 0},
        // Fields that disagree, or sectors of another size.
        {512, 9, 1, 720, 0, 0},      {512, 18, 2, 720, 0, 0},     {1024, 9, 2, 720, 0, 0},
        {512, 0, 0, 0, 0, 0},
    };
    for (const Bpb& b : cases) {
        SCOPED_TRACE(::testing::Message() << b.sectorsPerTrack << " x " << b.heads << ", "
                                          << b.totalSectors << "/" << b.bigTotalSectors);
        const FloppyType* type = FindFloppyTypeOfGeometry(GeometryOfDeviceParameters(Block(b)));
        if (b.kilobytes == 0) {
            EXPECT_EQ(type, nullptr);
        } else {
            ASSERT_NE(type, nullptr);
            EXPECT_EQ(type->totalBytes, b.kilobytes * 1024);
        }
    }
}

}  // namespace
