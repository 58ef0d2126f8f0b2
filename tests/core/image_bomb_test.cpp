// Images that hold, or decode to, far more than any disk: refused as soon as the data
// passes the largest format, and a long load stops when the user cancels it.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/image/image_check.h"
#include "engine/image/image_input.h"
#include "resources/string_ids.h"
#include "tests/support/binary_data.h"
#include "tests/support/image_files.h"
#include "tests/support/made_images.h"
#include "tests/support/recording_sink.h"
#include "tests/support/temp_dir.h"

namespace {

// Made once: a billion zeros take a moment to compress even at this ratio.
const std::string& Bomb() {
    static const std::string bomb = Bzip2Bomb();
    return bomb;
}

// Answers true from its `stopAt`-th question on (never with 0), and counts them.
class CountingCancel final : public LoadCancel {
public:
    explicit CountingCancel(int stopAt) : stopAt_(stopAt) {}
    bool Requested() override { return ++asked == stopAt_; }
    int asked = 0;

private:
    int stopAt_;
};

struct BombFile {
    std::string name;
    std::string bytes;
};

std::vector<BombFile> BombFiles() {
    return {{"bomb.imz", Bomb()}, {"bomb.exe", RestorerStubSignatureBytes() + std::string(3000, 'x') + Bomb()}};
}

TEST(ImageBomb, RefusedAsTooLargeWithinSeconds) {
    ASSERT_LT(Bomb().size(), 10000u);
    TempDir dir;
    const auto start = std::chrono::steady_clock::now();
    for (const BombFile& file : BombFiles()) {
        SCOPED_TRACE(file.name);
        const std::string path = dir.File(file.name);
        WriteWholeFile(path, file.bytes);

        ImageInput input;
        ASSERT_EQ(input.Open(path.c_str(), true), InputOpen::Opened);
        std::vector<char> buffer(kLargestFloppyBytes);
        uint32_t found = 0;
        EXPECT_EQ(input.Load(buffer.data(), kLargestFloppyBytes, &found), InputRead::TooLarge);
        EXPECT_GT(found, kLargestFloppyBytes);
        input.Close();

        RecordingSink sink;
        SourceTexts texts;
        EXPECT_EQ(CheckImageFile(path.c_str(), sink, texts), 1);
        ASSERT_EQ(sink.shown.size(), 1u);
        EXPECT_EQ(sink.shown[0].id, static_cast<unsigned>(IDS_IMAGE_TOO_LARGE));
        EXPECT_EQ(sink.shown[0].style, MessageStyle::Error);
        EXPECT_EQ(sink.shown[0].number, static_cast<long>(kLargestFloppyBytes));
    }
    const auto seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 5.0) << "the bombs were decoded far past the largest disk";
}

// Its size says it all: nothing of a raw image longer than any disk is read.
TEST(ImageBomb, LongRawImageIsRefusedUnread) {
    TempDir dir;
    const std::string path = dir.File("huge.img");
    WriteWholeFile(path, "");
    std::filesystem::resize_file(path, 300000000);
    ImageInput input;
    ASSERT_EQ(input.Open(path.c_str(), false), InputOpen::Opened);
    std::vector<char> buffer(kLargestFloppyBytes, 'u');
    uint32_t found = 0;
    EXPECT_EQ(input.Load(buffer.data(), kLargestFloppyBytes, &found), InputRead::TooLarge);
    EXPECT_EQ(found, 300000000u);
    EXPECT_EQ(buffer[0], 'u') << "read all the same";
    input.Close();

    CheckedImage image;
    RecordingSink sink;
    EXPECT_EQ(image.Load(path.c_str(), sink), -1);
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_EQ(sink.shown[0].id, static_cast<unsigned>(IDS_IMAGE_TOO_LARGE));
    EXPECT_EQ(sink.shown[0].number, static_cast<long>(kLargestFloppyBytes));
}

TEST(ImageBomb, CancelStopsTheLoadAndShowsNothing) {
    TempDir dir;
    const std::string bomb = dir.File("bomb.imz");
    WriteWholeFile(bomb, Bomb());
    const std::string raw = dir.File("disk.img");
    WriteWholeFile(raw, BinaryTestData(1474560, 3));
    for (const std::string& path : {bomb, raw}) {
        SCOPED_TRACE(path);
        ImageInput input;
        ASSERT_EQ(input.Open(path.c_str(), path == bomb), InputOpen::Opened);
        std::vector<char> buffer(kLargestFloppyBytes);
        uint32_t found = 0;
        CountingCancel cancel(5);
        EXPECT_EQ(input.Load(buffer.data(), kLargestFloppyBytes, &found, &cancel), InputRead::Cancelled);
        EXPECT_EQ(cancel.asked, 5);
        input.Close();

        RecordingSink sink;
        SourceTexts texts;
        CountingCancel checkCancel(3);
        EXPECT_EQ(CheckImageFile(path.c_str(), sink, texts, &checkCancel), 2);
        EXPECT_TRUE(sink.shown.empty());
        CheckedImage image;
        CountingCancel loadCancel(2);
        EXPECT_EQ(image.Load(path.c_str(), sink, &loadCancel), CheckedImage::kLoadCancelled);
        EXPECT_TRUE(sink.shown.empty());
    }
}

// The question comes at least once every 64 kB of data, to the end of a good image.
TEST(ImageBomb, CancelIsAskedThroughoutAWholeLoad) {
    TempDir dir;
    const std::string data = BinaryTestData(1474560, 4);
    const std::string raw = dir.File("disk.img");
    WriteWholeFile(raw, data);
    const std::string compressed = dir.File("disk.imz");
    WriteWholeFile(compressed, CompressedStream(data));
    for (const std::string& path : {raw, compressed}) {
        SCOPED_TRACE(path);
        ImageInput input;
        ASSERT_EQ(input.Open(path.c_str(), path == compressed), InputOpen::Opened);
        std::vector<char> buffer(1474560);
        uint32_t found = 0;
        CountingCancel never(0);
        EXPECT_EQ(input.Load(buffer.data(), 1474560, &found, &never), InputRead::Data);
        EXPECT_EQ(found, 1474560u);
        EXPECT_GE(never.asked, 1474560 / 65536);
        EXPECT_TRUE(std::string(buffer.data(), buffer.size()) == data);
    }
}

}  // namespace
