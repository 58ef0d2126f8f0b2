// vorlix.exe writing with verify from the command line ("/v"), drive A: behind a disk
// image: a good write reads back and ends with 0; an image whose stored checksum does not
// match its data is refused before the disk is touched.
#include <gtest/gtest.h>

#include "resources/string_ids.h"
#include "tests/gui/vorlix_run.h"

namespace gui {
namespace {

class VerifyRun : public VorlixRunTest {
protected:
    // An image of the 1440 kB sample, made by the program itself, with its checksum.
    std::string ReadSample(const char* name) {
        EXPECT_EQ(0, InsertDisk(SampleDisk("sample", 1440)));
        const std::string image = Image(name);
        Start({"/r", image, "/f"});
        EXPECT_EQ(0u, FinishWithoutMessages());
        vorlix_.Wait(0);
        return image;
    }
};

TEST_F(VerifyRun, GoodWriteWithVerifyEndsWithZero) {
    RequireJobs();
    if (IsSkipped()) return;
    const std::string sample = ReadWholeFile(SampleDisk("sample", 1440));
    const std::string image = ReadSample("disk.imz");
    ASSERT_TRUE(FileExists(image));

    ASSERT_EQ(0, InsertDisk(SampleDisk("blank", 1440)));
    Start({"/f", "/v", "/w", image});
    EXPECT_EQ(0u, FinishWithoutMessages());
    EXPECT_TRUE(FloppyBytes() == sample) << "the disk written and verified differs from the sample";
}

TEST_F(VerifyRun, ImageWithAWrongChecksumLeavesTheDiskAlone) {
    RequireJobs();
    if (IsSkipped()) return;
    const std::string image = ReadSample("damaged.img");
    std::string bytes = ReadWholeFile(image);
    const size_t digits = bytes.rfind("[SHA256 ");
    ASSERT_NE(std::string::npos, digits) << "the image has no checksum";
    char& digit = bytes[digits + 8];
    digit = digit == '0' ? '1' : '0';
    WriteWholeFile(image, bytes);

    ASSERT_EQ(0, InsertDisk(SampleDisk("blank", 1440)));
    const std::string blank = FloppyBytes();
    Start({"/f", "/v", "/w", image});
    ASSERT_TRUE(Answer(ExpectMessage(IDS_IMAGE_CHECKSUM_MISMATCH, "", kJobMs), IDOK));
    EXPECT_EQ(1u, ExitStatus(kJobMs));
    EXPECT_TRUE(FloppyBytes() == blank) << "a damaged image reached the disk";
}

}  // namespace
}  // namespace gui
