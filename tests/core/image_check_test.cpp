// The image check without a drive: every kind and format that is good gives one report
// with the facts a user compares; every fault gives exactly the message a write would.
#include "engine/image/image_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/string_ids.h"
#include "tests/support/binary_data.h"
#include "tests/support/image_files.h"
#include "tests/support/made_images.h"
#include "tests/support/recording_sink.h"
#include "tests/support/temp_dir.h"

namespace {

constexpr uint32_t kDisk720 = 737280;
constexpr uint32_t kDisk1440 = 1474560;

uint32_t DiskSize(uint32_t sectorsPerTrack) { return sectorsPerTrack * 512 * 2 * 80; }

struct Checked {
    int result;
    RecordingSink sink;
};

void Check(const std::string& path, Checked* out) {
    SourceTexts texts;
    out->result = CheckImageFile(path.c_str(), out->sink, texts);
}

// --- Good images --------------------------------------------------------------------

struct GoodCase {
    const char* extension;
    uint32_t sectorsPerTrack;
    const char* kindLine;
    const char* formatLine;
};

class GoodImageCheck : public ::testing::TestWithParam<GoodCase> {};

TEST_P(GoodImageCheck, ReportsKindFormatDescriptionSizeAndMatchingChecksum) {
    const GoodCase& c = GetParam();
    TempDir dir;
    const std::string content = BinaryTestData(DiskSize(c.sectorsPerTrack), c.sectorsPerTrack);
    const std::string path = dir.File(std::string("disk") + c.extension);
    const std::string program = dir.File("vorlix.exe.in");
    WriteFakeProgram(program);
    MakeImageFile(path, c.sectorsPerTrack, content, "Tools disk 3", program);
    const std::string before = ReadWholeFile(path);

    Checked checked;
    Check(path, &checked);

    EXPECT_EQ(checked.result, 0);
    ASSERT_EQ(checked.sink.shown.size(), 1u);
    const RecordingSink::Shown& shown = checked.sink.shown[0];
    EXPECT_EQ(shown.id, static_cast<unsigned>(IDS_IMAGE_CHECK_REPORT));
    EXPECT_EQ(shown.style, MessageStyle::Information);
    const std::string expected = std::string(c.kindLine) + "\n" + c.formatLine +
                                 "\nDescription: Tools disk 3\nData: " +
                                 std::to_string(DiskSize(c.sectorsPerTrack)) +
                                 " bytes\nSHA-256: " + Sha256Of(content) +
                                 "\nThe checksum stored in the image file matches its contents.";
    EXPECT_EQ(shown.text, expected);
    EXPECT_TRUE(ReadWholeFile(path) == before) << "the check changed the image";
}

INSTANTIATE_TEST_SUITE_P(
    EveryKindAndFormat, GoodImageCheck,
    ::testing::Values(
        GoodCase{".img", 9, "Kind: raw image (IMG)", "Format: 720 kB, 3.5-inch double density (80 x 2 x 9)"},
        GoodCase{".img", 18, "Kind: raw image (IMG)", "Format: 1440 kB, 3.5-inch high density (80 x 2 x 18)"},
        GoodCase{".img", 21, "Kind: raw image (IMG)", "Format: 1680 kB, 3.5-inch high density (80 x 2 x 21)"},
        GoodCase{".imz", 9, "Kind: compressed image (IMZ)", "Format: 720 kB, 3.5-inch double density (80 x 2 x 9)"},
        GoodCase{".imz", 18, "Kind: compressed image (IMZ)", "Format: 1440 kB, 3.5-inch high density (80 x 2 x 18)"},
        GoodCase{".imz", 21, "Kind: compressed image (IMZ)", "Format: 1680 kB, 3.5-inch high density (80 x 2 x 21)"},
        GoodCase{".exe", 9, "Kind: self-extracting image (EXE)", "Format: 720 kB, 3.5-inch double density (80 x 2 x 9)"},
        GoodCase{".exe", 18, "Kind: self-extracting image (EXE)", "Format: 1440 kB, 3.5-inch high density (80 x 2 x 18)"},
        GoodCase{".exe", 21, "Kind: self-extracting image (EXE)", "Format: 1680 kB, 3.5-inch high density (80 x 2 x 21)"}),
    [](const ::testing::TestParamInfo<GoodCase>& param) {
        return std::string(param.param.extension + 1) + std::to_string(param.param.sectorsPerTrack);
    });

// Without a trailer (compatible raw images, other programs' images) or with a number no
// format has, the data's own size names the format, and nothing is compared.
struct SizeCase {
    const char* name;
    std::string bytes;
    const char* formatLine;
    const char* descriptionLine;
};

TEST(ImageCheckWithoutTrailerFormat, TheDataSizeNamesTheFormat) {
    TempDir dir;
    std::string foreign = BinaryTestData(kDisk1440, 3);
    const std::string foreignPath = dir.File("foreign.img");
    WriteWholeFile(foreignPath, foreign);
    ASSERT_EQ(AppendImageTrailer(foreignPath.c_str(), "other maker", 15), 0);
    const std::vector<SizeCase> cases = {
        {"plain9.img", BinaryTestData(DiskSize(9), 1), "Format: 720 kB, 3.5-inch double density (80 x 2 x 9)",
         "Description: none"},
        {"plain21.img", BinaryTestData(DiskSize(21), 2), "Format: 1680 kB, 3.5-inch high density (80 x 2 x 21)",
         "Description: none"},
        {"plain18.imz", CompressedStream(BinaryTestData(kDisk1440, 4)),
         "Format: 1440 kB, 3.5-inch high density (80 x 2 x 18)", "Description: none"},
        {"foreign.img", ReadWholeFile(foreignPath), "Format: 1440 kB, 3.5-inch high density (80 x 2 x 18)",
         "Description: other maker"},
    };
    for (const SizeCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.File(c.name);
        WriteWholeFile(path, c.bytes);
        Checked checked;
        Check(path, &checked);
        EXPECT_EQ(checked.result, 0);
        ASSERT_EQ(checked.sink.shown.size(), 1u);
        const std::string& text = checked.sink.shown[0].text;
        EXPECT_NE(text.find(c.formatLine), std::string::npos) << text;
        EXPECT_NE(text.find(c.descriptionLine), std::string::npos) << text;
        EXPECT_NE(text.find("stores no checksum"), std::string::npos) << text;
    }
}

// --- Faults -------------------------------------------------------------------------

struct Fault {
    std::string name;  // its extension decides the kind
    std::string bytes;
    unsigned id;
    long found = 0;  // for the size message
    long needed = 0;
};

void ExpectFaults(const std::vector<Fault>& faults) {
    for (const Fault& f : faults) {
        SCOPED_TRACE(f.name);
        TempDir dir;
        const std::string path = dir.File(f.name);
        WriteWholeFile(path, f.bytes);
        Checked checked;
        Check(path, &checked);
        EXPECT_EQ(checked.result, 1);
        ASSERT_EQ(checked.sink.shown.size(), 1u) << "one message, and no report";
        EXPECT_EQ(checked.sink.shown[0].id, f.id);
        // The trailer reader's own newer-version message is a warning, as everywhere.
        EXPECT_EQ(checked.sink.shown[0].style, f.id == IDS_NEWER_IMAGE_VERSION
                                                   ? MessageStyle::Warning
                                                   : MessageStyle::Error);
        if (f.id == IDS_IMAGE_NOT_WHOLE_DISK) {
            EXPECT_EQ(checked.sink.shown[0].number, f.found);
            EXPECT_EQ(checked.sink.shown[0].secondNumber, f.needed);
        }
        if (f.id == IDS_IMAGE_TOO_LARGE) {
            EXPECT_EQ(checked.sink.shown[0].number, f.needed);
        }
        EXPECT_TRUE(ReadWholeFile(path) == f.bytes) << "the check changed the file";
    }
}

// Made once: compressing is the slow part.
struct Images {
    std::string content = BinaryTestData(kDisk720, 9);
    std::string img, imz, exe;
    Images() {
        TempDir dir;
        const std::string program = dir.File("program");
        WriteFakeProgram(program);
        for (const char* ext : {".img", ".imz", ".exe"}) {
            const std::string path = dir.File(std::string("d") + ext);
            MakeImageFile(path, 9, content, "faulty", program);
            (ext[3] == 'g' ? img : ext[3] == 'z' ? imz : exe) = ReadWholeFile(path);
        }
    }
};
const Images& Made() {
    static const Images images;
    return images;
}

std::string Flipped(std::string bytes, size_t at) {
    bytes[at] = static_cast<char>(bytes[at] ^ 0x10);
    return bytes;
}

// The offset of the first checksum digit in the trailer.
size_t ChecksumAt(const std::string& image) {
    const size_t tag = image.rfind("[SHA256 ");
    EXPECT_NE(tag, std::string::npos);
    return tag + 8;
}

TEST(ImageCheckFaults, DamagedStreamsAtSeveralOffsetsFailToRead) {
    const std::string& imz = Made().imz;
    const size_t stream = imz.size() - 1024;
    const std::string& exe = Made().exe;
    const size_t exeStream = exe.size() - stream - 1024;
    std::vector<Fault> faults;
    for (size_t at : {size_t{20}, size_t{5000}, stream / 2, stream - 8}) {
        faults.push_back({"at" + std::to_string(at) + ".imz", Flipped(imz, at), IDS_IMAGE_READ_FAILED});
    }
    faults.push_back({"mid.exe", Flipped(exe, exeStream + stream / 2), IDS_IMAGE_READ_FAILED});
    faults.push_back({"cut.imz", imz.substr(0, stream / 2), IDS_IMAGE_READ_FAILED});
    ExpectFaults(faults);
}

TEST(ImageCheckFaults, ChangedDataOrChecksumIsAMismatch) {
    const Images& made = Made();
    std::string malformed = made.imz;
    malformed[ChecksumAt(malformed) + 5] = 'G';
    std::string otherDigit = made.img;
    char& digit = otherDigit[ChecksumAt(otherDigit) + 17];
    digit = digit == '0' ? '1' : '0';
    std::string shortField = made.img;
    shortField[ChecksumAt(shortField) + 63] = ']';
    ExpectFaults({
        {"data-byte.img", Flipped(made.img, 1000), IDS_IMAGE_CHECKSUM_MISMATCH},
        {"last-data-byte.img", Flipped(made.img, kDisk720 - 1), IDS_IMAGE_CHECKSUM_MISMATCH},
        {"stored-digit.img", Flipped(made.img, ChecksumAt(made.img)), IDS_IMAGE_CHECKSUM_MISMATCH},
        {"stored-digit.imz", Flipped(made.imz, ChecksumAt(made.imz) + 63), IDS_IMAGE_CHECKSUM_MISMATCH},
        {"stored-digit.exe", Flipped(made.exe, ChecksumAt(made.exe) + 30), IDS_IMAGE_CHECKSUM_MISMATCH},
        {"other-digit.img", otherDigit, IDS_IMAGE_CHECKSUM_MISMATCH},
        {"malformed.imz", malformed, IDS_IMAGE_CHECKSUM_MISMATCH},
        {"short-field.img", shortField, IDS_IMAGE_CHECKSUM_MISMATCH},
    });
}

TEST(ImageCheckFaults, WrongSizesNameFoundAndNeeded) {
    const Images& made = Made();
    const std::string trailer = made.img.substr(kDisk720);
    ExpectFaults({
        // Data of no format's size: the smallest disk it would fit.
        {"empty.img", "", IDS_IMAGE_NOT_WHOLE_DISK, 0, 163840},
        {"less-a-sector.img", made.content.substr(512) + trailer, IDS_IMAGE_NOT_WHOLE_DISK,
         kDisk720 - 512, kDisk720},
        {"byte-more.img", made.content + "x", IDS_IMAGE_NOT_WHOLE_DISK, kDisk720 + 1, 1228800},
        {"past-1680.img", BinaryTestData(DiskSize(21) + 512, 5), IDS_IMAGE_NOT_WHOLE_DISK,
         static_cast<long>(DiskSize(21)) + 512, 2949120},
        // More than the largest disk: refused by its size alone, naming that disk's.
        {"too-long.img", BinaryTestData(2949120 + 512, 5), IDS_IMAGE_TOO_LARGE, 0, 2949120},
        // The trailer names 9 sectors: 1440 kB of data is not that disk.
        {"named9.imz", CompressedStream(BinaryTestData(kDisk1440, 6)) + trailer,
         IDS_IMAGE_NOT_WHOLE_DISK, kDisk1440, kDisk720},
    });
}

TEST(ImageCheckFaults, FilesThatHoldNoImage) {
    const Images& made = Made();
    const std::string newer = made.imz.substr(0, made.imz.size() - 1024) + "[FileVersion 003] " +
                              std::string(1024 - 18, ' ');
    ExpectFaults({
        {"empty.imz", "", IDS_IMAGE_READ_FAILED},
        {"nostream.exe", RestorerStubSignatureBytes() + BinaryTestData(30000, 7), IDS_EXE_HAS_NO_IMAGE},
        {"disk.txt", made.img, IDS_NOT_AN_IMAGE_FILE},
    });
    // A newer version's image is named as such, and then checked all the same.
    TempDir dir;
    const std::string newerPath = dir.File("newer.imz");
    WriteWholeFile(newerPath, newer);
    Checked checked;
    Check(newerPath, &checked);
    EXPECT_EQ(checked.result, 0);
    EXPECT_EQ(checked.sink.Ids(), (std::vector<unsigned>{IDS_NEWER_IMAGE_VERSION, IDS_IMAGE_CHECK_REPORT}));
    RecordingSink sink;
    SourceTexts texts;
    EXPECT_EQ(CheckImageFile("/no/such/folder/disk.imz", sink, texts), 1);
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_EQ(sink.shown[0].id, static_cast<unsigned>(IDS_UNABLE_TO_OPEN));
    EXPECT_EQ(sink.shown[0].text, "/no/such/folder/disk.imz");
}

// The report never hands printf a template it did not expect.
class OddTexts final : public MessageTexts {
public:
    const char* Text(unsigned id) override { return id == IDS_CHECK_FORMAT ? "%s %s %n" : "%d"; }
};

TEST(ImageCheckReport, TemplatesWithOtherConversionsAreShownAsTheyStand) {
    TempDir dir;
    const std::string path = dir.File("plain.img");
    WriteWholeFile(path, BinaryTestData(kDisk720, 8));
    CheckedImage image;
    RecordingSink sink;
    ASSERT_EQ(image.Load(path.c_str(), sink), 0);
    OddTexts texts;
    char report[1024];
    ComposeCheckReport(image, texts, report, sizeof report);
    EXPECT_EQ(std::string(report), "%d\n%s %s %n\n%d\n737280\n%d\n%d");
    char tiny[8];
    ComposeCheckReport(image, texts, tiny, sizeof tiny);
    EXPECT_EQ(std::string(tiny), "%d\n%s %");
}

}  // namespace
