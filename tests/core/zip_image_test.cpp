// Other programs' ZIP archives as images: the one member of a floppy's size is written,
// stored or deflated, and every archive that holds no such readable member is refused
// before the drive is opened for writing, with the disk as it was.
#include <gtest/gtest.h>
#include <string.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "engine/image/image_check.h"
#include "engine/image/image_input.h"
#include "engine/job/write_floppy_job.h"
#include "resources/string_ids.h"
#include "tests/support/binary_data.h"
#include "tests/support/image_files.h"
#include "tests/support/job_test_host.h"
#include "tests/support/made_images.h"
#include "tests/support/recording_sink.h"
#include "tests/support/simulated_floppy.h"
#include "tests/support/temp_dir.h"

namespace {

constexpr uint32_t kDisk720 = 737280;

struct Member {
    std::string name;
    std::string data;
    uint16_t method = 8;        // 0 stored, 8 deflate, others only named
    uint16_t flags = 0;         // bit 0: encrypted
    uint32_t declared = 0;      // the size its headers state; 0: the data's
    bool badCrc = false;
};

void Put16(std::string& out, uint32_t v) { out += char(v & 0xFF), out += char((v >> 8) & 0xFF); }
void Put32(std::string& out, uint32_t v) { Put16(out, v & 0xFFFF), Put16(out, v >> 16); }

std::string RawDeflate(const std::string& data) {
    z_stream z{};
    EXPECT_EQ(deflateInit2(&z, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY), Z_OK);
    std::string out(deflateBound(&z, data.size()), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = reinterpret_cast<Bytef*>(&out[0]);
    z.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

// An archive as WinImage and `zip` lay one out: local headers with their data, then the
// central directory and its end.
std::string ZipOf(const std::vector<Member>& members) {
    std::string out, directory;
    for (const Member& m : members) {
        const std::string packed = m.method == 8 ? RawDeflate(m.data) : m.data;
        uint32_t crc = crc32(0, reinterpret_cast<const Bytef*>(m.data.data()), m.data.size());
        if (m.badCrc) crc ^= 1;
        const uint32_t size = m.declared != 0 ? m.declared : static_cast<uint32_t>(m.data.size());
        std::string fields;
        Put16(fields, 20), Put16(fields, m.flags), Put16(fields, m.method), Put32(fields, 0);
        Put32(fields, crc), Put32(fields, packed.size()), Put32(fields, size);
        Put16(fields, m.name.size()), Put16(fields, 0);
        std::string central = "PK\1\2";
        Put16(central, 20), central += fields;
        Put16(central, 0), Put16(central, 0), Put16(central, 0), Put32(central, 0);
        Put32(central, out.size());
        directory += central + m.name;
        out += "PK\3\4" + fields + m.name + packed;
    }
    std::string end = "PK\5\6";
    Put32(end, 0), Put16(end, members.size()), Put16(end, members.size());
    Put32(end, directory.size()), Put32(end, out.size()), Put16(end, 0);
    return out + directory + end;
}

const std::string& Data720() {
    static const std::string data = BinaryTestData(kDisk720, 61);
    return data;
}

JobRequest WriteRequest(const std::string& path) {
    JobRequest request;
    request.kind = JobKind::Write;
    strncpy(request.imagePath, path.c_str(), sizeof request.imagePath - 1);
    return request;
}

struct Written {
    int status;
    std::vector<RecordingSink::Shown> shown;
    std::string disk;
    bool untouched;  // nothing reached the drive but the type query
};

Written WriteFile(const std::string& name, const std::string& bytes) {
    TempDir dir;
    const std::string path = dir.File(name);
    WriteWholeFile(path, bytes);
    TestJobHost host;
    SimulatedFloppy disk(9);
    const std::string before = DiskBytes(disk);
    WriteFloppyJob job(WriteRequest(path), host, disk);
    const int status = job.Run();
    const bool untouched = disk.transfers().empty() && disk.opens().size() == 1 &&
                           DiskBytes(disk) == before && disk.EveryOpenClosed();
    EXPECT_TRUE(ReadWholeFile(path) == bytes) << "the archive changed";
    return {status, host.sink.shown, DiskBytes(disk), untouched};
}

TEST(ZipImage, TheOneFloppySizedMemberIsWrittenStoredOrDeflated) {
    const Member readme{"README.TXT", "a disk of tests\r\n"};
    const std::vector<std::pair<std::string, std::string>> archives = {
        {"winimage.imz", ZipOf({{"DISK.IMA", Data720()}})},
        {"stored.zip", ZipOf({readme, {"disk.img", Data720(), 0}})},
        {"deflated.zip", ZipOf({{"docs/", ""}, {"disk.img", Data720()}, readme})},
    };
    for (const auto& [name, bytes] : archives) {
        SCOPED_TRACE(name);
        const Written written = WriteFile(name, bytes);
        EXPECT_EQ(written.status, 0);
        EXPECT_TRUE(written.shown.empty());
        EXPECT_TRUE(written.disk == Data720()) << "the disk is not the member";
        // The Write Floppy panel names the format from the member's declared size.
        TempDir dir;
        const std::string path = dir.File(name);
        WriteWholeFile(path, bytes);
        SourceImage source;
        ReadSourceImage(path.c_str(), kProgramTrailerPolicy, &source);
        const FloppyType* format = ApparentFormatOf(path.c_str(), source);
        EXPECT_TRUE(format != nullptr && format->totalBytes == Data720().size());
    }
}

struct Refusal {
    const char* name;
    std::string bytes;
    unsigned id;
    const char* text;  // the message's value; nullptr: the archive's path
};

TEST(ZipImage, ArchivesWithoutOneReadableImageAreRefusedBeforeTheDrive) {
    const std::string data = Data720();
    const std::string archive = ZipOf({{"DISK.IMA", data}});
    std::string flipped = archive;
    flipped[40 + 1000] ^= 0x55;  // inside the deflated data
    const std::string cut = archive.substr(0, archive.size() / 2);
    const std::string zeros(20 * 1024 * 1024, '\0');
    const std::string bomb = ZipOf({{"BOMB.IMA", zeros, 8, 0, 1474560}});
    const std::string claims = ZipOf({{"BOMB.IMA", zeros, 8, 0, 200000000}});
    const std::vector<Refusal> cases = {
        {"none.zip", ZipOf({{"README.TXT", "no image here"}, {"half.img", data.substr(1)}}),
         IDS_ZIP_NO_IMAGE, nullptr},
        {"two.zip", ZipOf({{"a.ima", data}, {"b.ima", data, 0}}), IDS_ZIP_SEVERAL_IMAGES, "a.ima, b.ima"},
        {"locked.zip", ZipOf({{"DISK.IMA", data, 0, 1}}), IDS_ZIP_ENCRYPTED, "DISK.IMA"},
        {"bzip2.zip", ZipOf({{"DISK.IMA", data, 12}}), IDS_ZIP_METHOD, "bzip2"},
        {"odd.zip", ZipOf({{"DISK.IMA", data, 99}}), IDS_ZIP_METHOD, "method 99"},
        {"bad-crc.imz", ZipOf({{"DISK.IMA", data, 8, 0, 0, true}}), IDS_IMAGE_READ_FAILED, ""},
        {"flipped.imz", flipped, IDS_IMAGE_READ_FAILED, ""},
        {"cut.imz", cut, IDS_IMAGE_READ_FAILED, ""},
        {"cut.zip", cut, IDS_IMAGE_READ_FAILED, ""},
        {"bomb.zip", bomb, IDS_IMAGE_READ_FAILED, ""},
        {"claims.zip", claims, IDS_ZIP_NO_IMAGE, nullptr},
    };
    for (const Refusal& c : cases) {
        SCOPED_TRACE(c.name);
        const Written written = WriteFile(c.name, c.bytes);
        EXPECT_EQ(written.status, -1);
        EXPECT_TRUE(written.untouched) << "the drive was written to";
        ASSERT_EQ(written.shown.size(), 1u);
        EXPECT_EQ(written.shown[0].id, c.id);
        EXPECT_EQ(written.shown[0].style, MessageStyle::Error);
        if (c.text != nullptr) {
            EXPECT_EQ(written.shown[0].text, c.text);
        } else {
            EXPECT_NE(written.shown[0].text.find(c.name), std::string::npos);
        }
        // The image check refuses it with the same message.
        TempDir dir;
        const std::string path = dir.File(c.name);
        WriteWholeFile(path, c.bytes);
        RecordingSink sink;
        SourceTexts texts;
        EXPECT_EQ(CheckImageFile(path.c_str(), sink, texts), 1);
        ASSERT_EQ(sink.shown.size(), 1u);
        EXPECT_EQ(sink.shown[0].id, c.id);
    }
}

// A member that declares a disk's size inflates no further, whatever its data holds.
TEST(ZipImage, ABombStopsAtItsDeclaredDisk) {
    TempDir dir;
    const std::string path = dir.File("bomb.zip");
    WriteWholeFile(path, ZipOf({{"BOMB.IMA", std::string(20 * 1024 * 1024, '\0'), 8, 0, 1474560}}));
    ImageInput input;
    ASSERT_EQ(input.Open(path.c_str(), true), InputOpen::Opened);
    std::vector<char> buffer(kLargestFloppyBytes);
    uint32_t found = 0;
    EXPECT_EQ(input.Load(buffer.data(), kLargestFloppyBytes, &found), InputRead::Failed);
    EXPECT_LE(found, kLargestFloppyBytes);
}

TEST(ZipImage, TheNamesOfManyImagesAreCutShort) {
    std::vector<Member> members;
    for (int i = 0; i < 40; ++i) {
        members.push_back({"a-rather-long-name-of-disk-" + std::to_string(i) + ".ima", Data720(), 0});
    }
    const Written written = WriteFile("many.zip", ZipOf(members));
    ASSERT_EQ(written.shown.size(), 1u);
    const std::string& names = written.shown[0].text;
    EXPECT_EQ(written.shown[0].id, static_cast<unsigned>(IDS_ZIP_SEVERAL_IMAGES));
    EXPECT_EQ(names.rfind("a-rather-long-name-of-disk-0.ima, a-rather", 0), 0u) << names;
    EXPECT_EQ(names.substr(names.size() - 5), ", ...") << names;
}

// A ZIP is told by its first bytes: Vorlix's own ".imz" and its ".exe" are bzip2.
TEST(ZipImage, ContainerByFirstBytes) {
    TempDir dir;
    const std::string zip = ZipOf({{"DISK.IMA", "x"}});
    const std::string stream = CompressedStream("x");
    const struct {
        const char* name;
        std::string bytes;
        ImageContainer container;
    } cases[] = {
        {"other.imz", zip, ImageContainer::Zip},   {"own.imz", stream, ImageContainer::Bzip2},
        {"empty.imz", "", ImageContainer::Bzip2},  {"disk.zip", stream, ImageContainer::Zip},
        {"disk.exe", zip, ImageContainer::Bzip2},  {"disk.img", zip, ImageContainer::Raw},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.File(c.name);
        WriteWholeFile(path, c.bytes);
        SourceImage source;
        ReadSourceImage(path.c_str(), kProgramTrailerPolicy, &source);
        EXPECT_EQ(source.container, c.container);
    }
}

}  // namespace
