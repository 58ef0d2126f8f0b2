// "/t" and "/i" against the real vorlix.exe: a check ends with its one message and 0 or
// 1; a conversion makes an image that checks good, keeps the description and leaves its
// source byte for byte; neither waits for or hands anything to a running instance.
#include <gtest/gtest.h>

#include <string>

#include "engine/image/image_check.h"
#include "engine/image/image_trailer.h"
#include "engine/image/sha256_digest.h"
#include "resources/string_ids.h"
#include "tests/gui/vorlix_run.h"
#include "tests/support/recording_sink.h"
#include "tests/support/temp_dir.h"

namespace gui {
namespace {

constexpr int kOpenBrowse = 1006;  // the main dialog's write browse button

class ImageCheckRun : public VorlixRunTest {
protected:
    // A raw image of the 1440 kB sample with a trailer that stores its checksum.
    std::string GoodImage(const std::string& name) {
        const std::string path = Image(name);
        data_ = ReadWholeFile(SampleDisk("sample", 1440));
        WriteWholeFile(path, data_);
        char hex[Sha256Digest::kHexLength + 1];
        Sha256Hex(data_.data(), data_.size(), hex);
        hex_ = hex;
        EXPECT_EQ(0, AppendImageTrailer(path.c_str(), "Sample", 18, hex));
        return path;
    }

    std::string Report(const char* kind) const {
        return std::string(kind) + "\nFormat: 1440 kB, 3.5-inch high density (80 x 2 x 18)\nDescription: Sample\n" +
               "Data: 1474560 bytes\nSHA-256: " + hex_ +
               "\nThe checksum stored in the image file matches its contents.";
    }

    std::string data_;
    std::string hex_;
};

TEST_F(ImageCheckRun, AGoodImageIsReportedAndEndsWithZero) {
    const std::string path = GoodImage("good.img");
    Start({"/t", path});
    ASSERT_TRUE(Answer(ExpectMessage(IDS_IMAGE_CHECK_REPORT, Report("Kind: raw image (IMG)")), IDOK));
    EXPECT_EQ(0u, ExitStatus());
}

TEST_F(ImageCheckRun, ADamagedImageIsNamedAndEndsWithOne) {
    const std::string path = GoodImage("damaged.img");
    std::string bytes = ReadWholeFile(path);
    bytes[700000] ^= 0x01;
    WriteWholeFile(path, bytes);
    Start({"/t", path});
    ASSERT_TRUE(Answer(ExpectMessage(IDS_IMAGE_CHECKSUM_MISMATCH), IDOK));
    EXPECT_EQ(1u, ExitStatus());
    EXPECT_TRUE(ReadWholeFile(path) == bytes);
}

TEST_F(ImageCheckRun, AConversionKeepsTheDescriptionAndTheSource) {
    const std::string source = GoodImage("old.img");
    const std::string before = ReadWholeFile(source);
    const std::string target = Image("new.imz");
    Start({"/i", source, "/r", target, "/f"});
    EXPECT_EQ(0u, FinishWithoutMessages());

    EXPECT_TRUE(ReadWholeFile(source) == before) << "the source changed";
    CheckedImage made;
    RecordingSink sink;
    ASSERT_EQ(0, made.Load(target.c_str(), sink)) << (sink.shown.empty() ? 0 : sink.shown[0].id);
    EXPECT_STREQ("Sample", made.description);
    EXPECT_EQ(TrailerChecksum::Stored, made.stored.state);
    EXPECT_EQ(hex_, made.computed);

    // And the program itself finds it good.
    Start({"/t", target});
    ASSERT_TRUE(Answer(ExpectMessage(IDS_IMAGE_CHECK_REPORT, Report("Kind: compressed image (IMZ)")), IDOK));
    EXPECT_EQ(0u, ExitStatus());
}

TEST_F(ImageCheckRun, AConversionOntoItsSourceIsRefused) {
    const std::string source = GoodImage("same.img");
    const std::string before = ReadWholeFile(source);
    Start({"/i", source, "/r", source, "/f"});
    ASSERT_TRUE(Answer(ExpectMessage(IDS_CONVERT_ONTO_SOURCE, source, kJobMs), IDOK));
    EXPECT_EQ(1u, ExitStatus());
    EXPECT_TRUE(ReadWholeFile(source) == before);
}

// A check needs no drive: it runs in its own process while another instance has its
// main dialog open, instead of handing over (which would end with 3 and show nothing).
TEST_F(ImageCheckRun, ACheckRunsBesideARunningInstance) {
    const std::string path = GoodImage("beside.img");
    DrivenProcess first;
    ASSERT_EQ(0, first.Start(VorlixProgram(), {}));
    ASSERT_NE(nullptr, WaitForDialogWith(first.Id(), kOpenBrowse)) << "no first instance";

    Start({"/t", path});
    ASSERT_TRUE(Answer(ExpectMessage(IDS_IMAGE_CHECK_REPORT, Report("Kind: raw image (IMG)")), IDOK));
    EXPECT_EQ(0u, ExitStatus());

    EXPECT_TRUE(first.Running()) << "the running instance ended";
    HWND main = WaitForDialogWith(first.Id(), kOpenBrowse);
    if (main != NULL) PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(first.Wait());
}

// File > Check Image: the open dialog, then the same one message; the window stays.
TEST_F(ImageCheckRun, TheFileMenuChecksTheImageChosen) {
    constexpr int kCheckImage = 32776;     // ID_CHECK_IMAGE
    constexpr int kFileNameCombo = 0x47c;  // cmb13, the open dialog's file name
    const std::string path = GoodImage("menu.img");
    Start({});
    HWND main = WaitForDialogWith(vorlix_.Id(), kOpenBrowse);
    ASSERT_NE(nullptr, main);
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(kCheckImage, 0), 0);
    HWND open = WaitForTopWindow(vorlix_.Id(), "#32770", "Check Image File");
    ASSERT_NE(nullptr, open) << "no open dialog";
    ASSERT_TRUE(SetControlText(open, kFileNameCombo, path));
    ASSERT_TRUE(PressButton(open, IDOK));
    ASSERT_TRUE(Answer(ExpectMessage(IDS_IMAGE_CHECK_REPORT, Report("Kind: raw image (IMG)")), IDOK));
    EXPECT_TRUE(vorlix_.Running());
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, ExitStatus());
}

}  // namespace
}  // namespace gui
