#include "linux/lost_image_bytes_linux.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "engine/fat/mapped_disk.h"
#include "linux/unfinished_files_linux.h"
#include "tests/support/binary_data.h"
#include "tests/support/temp_dir.h"

namespace {

// An image cut short while it is mapped: the program ends with its line and status 1,
// and what a job left unfinished goes with it.
TEST(LostImageBytesDeathTest, EndWithTheLineAndStatusOne) {
    TempDir dir;
    const std::string image = dir.File("disk.ima");
    const std::string unfinished = dir.File("other.imz.tmp");
    WriteWholeFile(image, BinaryTestData(1474560, 7));
    EXPECT_EXIT(
        {
            const LostImageBytesEnd end("vorlix: the image is gone\n");
            UnfinishedFiles files;
            FILE* stream = nullptr;
            if (files.CreateNew(unfinished.c_str(), &stream) != NewFile::Created) _exit(3);
            MappedDisk disk;
            if (disk.Map(image.c_str()) != 0 || truncate(image.c_str(), 0) != 0) _exit(4);
            const volatile uint8_t last = disk.Data()[disk.Size() - 1];
            _exit(last == 0xFF ? 5 : 6);
        },
        ::testing::ExitedWithCode(1), "^vorlix: the image is gone\n$");
    EXPECT_FALSE(FileExists(unfinished));
}

}  // namespace
