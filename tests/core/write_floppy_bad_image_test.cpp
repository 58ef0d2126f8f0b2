// Bad images against the write job: each family is refused before the drive is opened
// for writing, with the disk byte for byte as it was. Good images made of several
// streams still reach the disk whole.
#include "engine/job/write_floppy_job.h"

#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "engine/device/floppy_type.h"
#include "engine/image/image_kind.h"
#include "engine/image/image_trailer.h"
#include "resources/string_ids.h"
#include "tests/support/binary_data.h"
#include "tests/support/image_files.h"
#include "tests/support/job_test_host.h"
#include "tests/support/simulated_floppy.h"
#include "tests/support/temp_dir.h"

namespace {

constexpr uint32_t kDisk720 = 737280;
constexpr uint32_t kDisk1440 = 1474560;

std::string Trailer(int sectorsPerTrack) {
    TempDir dir;
    const std::string path = dir.File("trailer");
    WriteWholeFile(path, "");
    EXPECT_EQ(AppendImageTrailer(path.c_str(), "bad image", sectorsPerTrack), 0);
    return ReadWholeFile(path);
}

// The 720 kB data of most cases and its stream, made once: compressing is the slow part.
const std::string& Data720() {
    static const std::string data = BinaryTestData(kDisk720, 51);
    return data;
}
const std::string& Stream720() {
    static const std::string stream = CompressedStream(Data720());
    return stream;
}

std::string Exe(const std::string& payload) {
    return RestorerStubSignatureBytes() + BinaryTestData(20000, 52) + payload;
}

struct BadImage {
    const char* name;       // its extension decides the kind
    std::string bytes;
    int32_t trailerSectorsPerTrack;  // what the front end read from the trailer
    unsigned id;
    long found;   // for the size message: bytes found, and needed
    long needed;
};

// Runs the job over a fresh 9-sector disk (or `diskSectorsPerTrack`) and proves that it
// failed with the case's message before anything reached the disk.
// A write of the image file at `path`.
JobRequest WriteRequest(const std::string& path) {
    JobRequest request;
    request.kind = JobKind::Write;
    EXPECT_LT(path.size(), sizeof request.imagePath);
    strncpy(request.imagePath, path.c_str(), sizeof request.imagePath - 1);
    return request;
}

void ExpectRefused(const BadImage& c, uint32_t diskSectorsPerTrack = 9) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    const std::string path = dir.File(c.name);
    WriteWholeFile(path, c.bytes);
    const JobRequest request = WriteRequest(path);
    TestJobHost host;
    SimulatedFloppy disk(diskSectorsPerTrack);
    const std::string before = DiskBytes(disk);

    WriteFloppyJob job(request, host, disk);
    EXPECT_EQ(job.Run(), -1);

    ASSERT_EQ(host.sink.shown.size(), 1u);
    EXPECT_EQ(host.sink.shown[0].id, c.id);
    EXPECT_EQ(host.sink.shown[0].style, MessageStyle::Error);
    if (c.id == IDS_IMAGE_NOT_WHOLE_DISK) {
        EXPECT_EQ(host.sink.shown[0].number, c.found);
        EXPECT_EQ(host.sink.shown[0].secondNumber, c.needed);
    }
    if (c.id == IDS_IMAGE_TOO_LARGE) {
        EXPECT_EQ(host.sink.shown[0].number, static_cast<long>(kLargestFloppyBytes));
    }
    EXPECT_EQ(host.Outcome(), JobNotice::Failed);
    EXPECT_EQ(job.Outcome().messageId, c.id);
    EXPECT_EQ(host.Count(JobNotice::Progress), 0);
    EXPECT_TRUE(disk.transfers().empty());
    ASSERT_EQ(disk.opens().size(), 1u) << "only the type query may open the drive";
    EXPECT_TRUE(disk.EveryOpenClosed());
    EXPECT_TRUE(DiskBytes(disk) == before) << "the disk changed";
    EXPECT_TRUE(ReadWholeFile(path) == c.bytes) << "the image changed";
    EXPECT_TRUE(NothingHoldsFile(path));
}

void ExpectAllRefused(const std::vector<BadImage>& cases) {
    for (const BadImage& c : cases) ExpectRefused(c);
}

constexpr unsigned kWrongSize = IDS_IMAGE_NOT_WHOLE_DISK;
constexpr unsigned kReadFailed = IDS_IMAGE_READ_FAILED;

TEST(WriteBadImage, EmptyImagesAreRefused) {
    const std::string emptyStream = CompressedStream("");
    ExpectAllRefused({
        {"empty.img", "", 0, kWrongSize, 0, kDisk720},
        {"trailer-only.img", Trailer(9), 9, kWrongSize, 0, kDisk720},
        {"empty-stream.imz", emptyStream + Trailer(9), 9, kWrongSize, 0, kDisk720},
        // An empty stream holds no block, so no signature to find.
        {"empty-stream.exe", Exe(emptyStream + Trailer(9)), 9, IDS_EXE_HAS_NO_IMAGE, 0, 0},
        {"empty.imz", "", 0, kReadFailed, 0, 0},
        {"trailer-only.imz", Trailer(9), 9, kReadFailed, 0, 0},
    });
}

TEST(WriteBadImage, ShortImagesAreRefused) {
    const std::string& data = Data720();
    const std::string lessASector = data.substr(0, kDisk720 - 512);
    ExpectAllRefused({
        {"less-a-sector.img", lessASector + Trailer(9), 9, kWrongSize, kDisk720 - 512, kDisk720},
        {"less-a-byte.img", data.substr(1), 0, kWrongSize, kDisk720 - 1, kDisk720},
        {"less-a-sector.imz", CompressedStream(lessASector), 0, kWrongSize, kDisk720 - 512,
         kDisk720},
        {"one-chunk.exe", Exe(CompressedStream(data.substr(0, 10240)) + Trailer(9)), 9, kWrongSize,
         10240, kDisk720},
        // A foreign number in the trailer: the disk in the drive says what is whole.
        {"foreign-number.imz", CompressedStream(data.substr(0, 368640)) + Trailer(15), 15,
         kWrongSize, 368640, kDisk720},
    });
    // A 720 kB image whose trailer says 18 sectors, on a 1440 kB disk.
    ExpectRefused({"half.imz", Stream720() + Trailer(18), 18, kWrongSize, kDisk720, kDisk1440}, 18);
    ExpectRefused({"half.img", Data720() + Trailer(18), 18, kWrongSize, kDisk720, kDisk1440}, 18);
}

TEST(WriteBadImage, LongImagesAreRefused) {
    const std::string& data = Data720();
    ExpectAllRefused({
        {"one-byte-more.img", data + "x", 0, kWrongSize, kDisk720 + 1, kDisk720},
        {"a-sector-more.img", data + std::string(512, 'x') + Trailer(9), 9, kWrongSize,
         kDisk720 + 512, kDisk720},
        {"one-byte-more.imz", CompressedStream(data + "x") + Trailer(9), 9, kWrongSize,
         kDisk720 + 1, kDisk720},
        {"twice.exe", Exe(CompressedStream(data + data) + Trailer(9)), 9, kWrongSize,
         2 * kDisk720, kDisk720},
        {"no-trailer-number.imz", CompressedStream(data + data), -1, kWrongSize, 2 * kDisk720,
         kDisk720},
    });
}

// A few kilobytes that decode to a gigabyte are refused once the largest disk is passed,
// not after the whole stream: a write of the restorer stub's too.
TEST(WriteBadImage, BombsAreRefusedAsTooLarge) {
    const std::string bomb = Bzip2Bomb();
    ExpectAllRefused({
        {"bomb.imz", bomb + Trailer(9), 9, IDS_IMAGE_TOO_LARGE, 0, 0},
        {"bomb.exe", Exe(bomb + Trailer(9)), 9, IDS_IMAGE_TOO_LARGE, 0, 0},
    });
}

// A Cancel pressed while an image decodes ends the job before the drive is opened for
// writing, with nothing shown.
TEST(WriteBadImage, CancelWhileTheImageLoadsWritesNothing) {
    TempDir dir;
    const std::string path = dir.File("bomb.imz");
    WriteWholeFile(path, Bzip2Bomb() + Trailer(9));
    const JobRequest request = WriteRequest(path);
    TestJobHost host;
    host.cancelled = true;
    SimulatedFloppy disk(9);

    WriteFloppyJob job(request, host, disk);
    EXPECT_EQ(job.Run(), -1);

    EXPECT_TRUE(host.sink.shown.empty());
    EXPECT_EQ(job.Outcome().end, JobEnd::Cancelled);
    EXPECT_TRUE(disk.transfers().empty());
    EXPECT_TRUE(disk.EveryOpenClosed());
}

TEST(WriteBadImage, StreamsDamagedAnywhereAreRefused) {
    const std::string& stream = Stream720();
    const std::string trailer = Trailer(9);
    std::vector<BadImage> cases;
    static const char* const kNames[] = {"at5.imz", "at50.imz", "at95.imz", "at99.imz"};
    static const char* const kCutNames[] = {"cut-at5.imz", "cut-at50.imz", "cut-at95.imz",
                                            "cut-at99.imz"};
    const size_t percents[] = {5, 50, 95, 99};
    for (int i = 0; i < 4; ++i) {
        const size_t at = stream.size() * percents[i] / 100;
        std::string flipped = stream;
        flipped[at] ^= 0x55;
        cases.push_back({kNames[i], flipped + trailer, 9, kReadFailed, 0, 0});
        // Cut there: the trailer then follows a stream that never ends.
        cases.push_back({kCutNames[i], stream.substr(0, at) + trailer, 9, kReadFailed, 0, 0});
    }
    cases.push_back({"cut-before-end.exe", Exe(stream.substr(0, stream.size() - 4)), 0,
                     kReadFailed, 0, 0});
    cases.push_back({"not-bzip2.imz", BinaryTestData(30000, 53) + trailer, 9, kReadFailed, 0, 0});
    ExpectAllRefused(cases);
}

TEST(WriteBadImage, SecondStreamDamagedOrTooMuchIsRefused) {
    const std::string& data = Data720();
    const std::string first = CompressedStream(data.substr(0, 368640));
    const std::string second = CompressedStream(data.substr(368640));
    std::string flippedSecond = second;
    flippedSecond[second.size() / 2] ^= 0x55;
    ExpectAllRefused({
        {"second-flipped.imz", first + flippedSecond + Trailer(9), 9, kReadFailed, 0, 0},
        {"second-cut.imz", first + second.substr(0, second.size() / 2), 9, kReadFailed, 0, 0},
        {"second-cut-before-trailer.exe",
         Exe(first + second.substr(0, second.size() - 10) + Trailer(9)), 9, kReadFailed, 0, 0},
        {"three-halves.imz", first + second + first + Trailer(9), 9, kWrongSize,
         kDisk720 + 368640, kDisk720},
    });
}

TEST(WriteBadImage, OddRawSizesAreRefused) {
    const std::string data = BinaryTestData(1000000, 54);
    ExpectAllRefused({
        {"odd.img", data, 0, kWrongSize, 1000000, kDisk720},
        {"odd-with-trailer.img", data + Trailer(9), 9, kWrongSize, 1000000, kDisk720},
        {"chunks-and-1024.img", data.substr(0, 5 * 10240 + 1024), 0, kWrongSize, 5 * 10240 + 1024,
         kDisk720},
        {"odd-tail.img", Data720().substr(0, kDisk720 - 1000) + "tail", 0, kWrongSize,
         kDisk720 - 996, kDisk720},
    });
}

// Streams one after another are one image, as bunzip2 reads them; the trailer behind the
// last one ends it.
TEST(WriteBadImage, ConsecutiveStreamsAreOneImage) {
    const std::string& data = Data720();
    const std::string parts = CompressedStream(data.substr(0, 100000)) +
                              CompressedStream(data.substr(100000, 500000)) +
                              CompressedStream("") + CompressedStream(data.substr(600000));
    for (const std::string& name : {std::string("parts.imz"), std::string("parts.exe")}) {
        SCOPED_TRACE(name);
        TempDir dir;
        const std::string path = dir.File(name);
        WriteWholeFile(path, name == "parts.exe" ? Exe(parts + Trailer(9)) : parts + Trailer(9));
        const JobRequest request = WriteRequest(path);
        TestJobHost host;
        SimulatedFloppy disk(9);

        WriteFloppyJob job(request, host, disk);
        EXPECT_EQ(job.Run(), 0);

        EXPECT_TRUE(host.sink.shown.empty());
        EXPECT_EQ(host.Outcome(), JobNotice::Finished);
        EXPECT_TRUE(DiskBytes(disk) == data) << "the disk is not the image";
        EXPECT_EQ(disk.transfers().size(), 72u);
    }
}

}  // namespace
