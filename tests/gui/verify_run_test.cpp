// vorlix.exe writing with verify from the command line ("/v"), drive A: behind a disk
// image: a good write reads back and ends with 0; an image whose stored checksum does not
// match its data is refused before the disk is touched.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include "resources/main_dialog_ids.h"
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

// Over a floppy slow enough to watch, the status line turns from writing to verifying,
// and the bar starts again for the read-back.
TEST_F(VerifyRun, ProgressDialogShowsTheVerifyPass) {
    RequireJobs();
    if (IsSkipped()) return;
    const std::string image = ReadSample("watched.imz");
    ASSERT_EQ(0, InsertDisk(SampleDisk("blank", 1440)));
    SetEnvironmentVariableA("VORLIX_SLOW_FLOPPY_UNIT_MS", "25");
    StartSlowFloppy({"/f", "/v", "/w", image});
    SetEnvironmentVariableA("VORLIX_SLOW_FLOPPY_UNIT_MS", nullptr);
    const HWND progress = WaitForDialogWith(vorlix_.Id(), IDC_PROGRESS_STATUS);
    ASSERT_NE(nullptr, progress) << "no progress dialog";
    const std::string writing = Message(IDS_WRITING_FLOPPY, "1440 kB");
    const std::string verifying = Message(IDS_VERIFYING_FLOPPY, "1440 kB");
    bool sawWriting = false;
    bool sawVerifying = false;
    int verifyStartPercent = -1;
    for (DWORD start = GetTickCount(); GetTickCount() - start < kJobMs && IsWindow(progress);) {
        const std::string status = ControlText(progress, IDC_PROGRESS_STATUS);
        if (status == writing) sawWriting = true;
        if (status == verifying && !sawVerifying) {
            sawVerifying = true;
            verifyStartPercent = static_cast<int>(
                SendDlgItemMessageA(progress, IDC_PROGRESS_BAR, PBM_GETPOS, 0, 0));
        }
        Sleep(10);
    }
    EXPECT_TRUE(sawWriting) << "no \"" << writing << "\"";
    EXPECT_TRUE(sawVerifying) << "no \"" << verifying << "\"";
    EXPECT_GE(verifyStartPercent, 0);
    EXPECT_LT(verifyStartPercent, 50) << "the bar did not start again for the read-back";
    EXPECT_EQ(0u, FinishWithoutMessages());
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
