// The write job's verify pass: the disk read back after the last write and compared with
// the image, and the checksum comparison that keeps a damaged image off the disk.
#include "engine/job/write_floppy_job.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string.h>

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "engine/image/image_kind.h"
#include "engine/image/image_trailer.h"
#include "engine/image/sha256_digest.h"
#include "engine/image/trailer_reader.h"
#include "resources/string_ids.h"
#include "tests/support/binary_data.h"
#include "tests/support/image_files.h"
#include "tests/support/job_test_host.h"
#include "tests/support/simulated_floppy.h"
#include "tests/support/temp_dir.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Flavour = SimulatedFloppy::Flavour;

constexpr uint32_t kChunk = 10240;
constexpr uint32_t kSectorsPerChunk = kChunk / 512;

const char* FlavourName(Flavour flavour) {
    return flavour == Flavour::Nt ? "Nt" : "Vwin32";
}

std::string Hash(const std::string& bytes) {
    char hex[Sha256Digest::kHexLength + 1];
    Sha256Hex(bytes.data(), bytes.size(), hex);
    return hex;
}

std::string TrailerBlock(int sectorsPerTrack, const std::string& checksumHex) {
    TempDir dir;
    const std::string path = dir.File("trailer");
    WriteWholeFile(path, "");
    EXPECT_EQ(AppendImageTrailer(path.c_str(), "verified", sectorsPerTrack, checksumHex.c_str()), 0);
    return ReadWholeFile(path);
}

// The data of one format and its stream, made once per format: compressing is slow.
const std::string& Data(uint32_t sectorsPerTrack) {
    static std::map<uint32_t, std::string> made;
    std::string& data = made[sectorsPerTrack];
    if (data.empty()) data = BinaryTestData(sectorsPerTrack * 512 * 160, sectorsPerTrack + 70);
    return data;
}

const std::string& Stream(uint32_t sectorsPerTrack) {
    static std::map<uint32_t, std::string> made;
    std::string& stream = made[sectorsPerTrack];
    if (stream.empty()) stream = CompressedStream(Data(sectorsPerTrack));
    return stream;
}

// An image of the kind `extension` names, with a trailer that holds the data's checksum.
std::string Image(const std::string& extension, uint32_t sectorsPerTrack) {
    const std::string trailer =
        TrailerBlock(static_cast<int>(sectorsPerTrack), Hash(Data(sectorsPerTrack)));
    if (extension == ".img") return Data(sectorsPerTrack) + trailer;
    if (extension == ".imz") return Stream(sectorsPerTrack) + trailer;
    return RestorerStubSignatureBytes() + BinaryTestData(30000, 5) + Stream(sectorsPerTrack) +
           trailer;
}

void Blank(SimulatedFloppy& disk) {
    std::fill(disk.disk().begin(), disk.disk().end(), 0);
}

class VerifyJob : public ::testing::Test {
protected:
    // Aims the job at `bytes`, saved as `name`, and keeps what its trailer stores (read
    // as the stub reads a self-extracting image).
    std::string Source(const std::string& name, const std::string& bytes) {
        const std::string path = dir_.File(name);
        WriteWholeFile(path, bytes);
        EXPECT_LT(path.size(), sizeof request_.imagePath);
        strcpy(request_.imagePath, path.c_str());
        request_.kind = JobKind::Write;
        request_.verify = true;
        const bool stub = HasExtension(name.c_str(), ".exe");
        char description[kDescriptionBufferSize];
        int sectorsPerTrack = 0;
        ReadTrailerFile(path.c_str(), stub ? kStubTrailerPolicy : kProgramTrailerPolicy,
                        description, &sectorsPerTrack, &stored_);
        return path;
    }

    int Run(SimulatedFloppy& disk, Flavour flavour) {

        EXPECT_EQ(disk.KeepsPosition(), flavour == Flavour::Nt) << "the method counts as its disk";
        WriteFloppyJob job(request_, host_, disk);
        const int result = job.Run();
        outcome_ = job.Outcome();
        return result;
    }

    std::vector<const TestJobHost::Posted*> Posts(JobPhase phase) const {
        std::vector<const TestJobHost::Posted*> out;
        for (const TestJobHost::Posted& p : host_.posts) {
            if (p.notice == JobNotice::Progress && p.progress.phase == phase) out.push_back(&p);
        }
        return out;
    }

    std::vector<SimulatedFloppy::Transfer> Writes(const SimulatedFloppy& disk) const {
        std::vector<SimulatedFloppy::Transfer> out;
        for (const auto& t : disk.transfers()) {
            if (t.write) out.push_back(t);
        }
        return out;
    }

    TempDir dir_;
    TestJobHost host_;
    JobRequest request_;
    TrailerChecksum stored_;  // what the source's trailer stores
    JobOutcome outcome_{};
};

// --- Round trips over every kind, format and method -----------------------------------------

using KindCase = std::tuple<const char*, uint32_t, Flavour>;

class VerifyKinds : public VerifyJob, public ::testing::WithParamInterface<KindCase> {};

TEST_P(VerifyKinds, WritesThenReadsTheWholeDiskBackAsASecondPass) {
    const std::string extension = std::get<0>(GetParam());
    const uint32_t sectorsPerTrack = std::get<1>(GetParam());
    const Flavour flavour = std::get<2>(GetParam());
    SimulatedFloppy disk(sectorsPerTrack, flavour);
    Blank(disk);
    Source("disk" + extension, Image(extension, sectorsPerTrack));
    ASSERT_EQ(stored_.state, TrailerChecksum::Stored);

    EXPECT_EQ(Run(disk, flavour), 0);

    const std::string& data = Data(sectorsPerTrack);
    EXPECT_TRUE(DiskBytes(disk) == data);
    EXPECT_THAT(host_.sink.Ids(), IsEmpty());
    EXPECT_EQ(host_.Outcome(), JobNotice::Finished);
    const uint32_t chunks = static_cast<uint32_t>(data.size() / kChunk);
    std::vector<SimulatedFloppy::Transfer> expected;
    for (uint32_t i = 0; i < chunks; ++i) expected.push_back({true, i * kSectorsPerChunk, kChunk, true});
    for (uint32_t i = 0; i < chunks; ++i) expected.push_back({false, i * kSectorsPerChunk, kChunk, true});
    ASSERT_EQ(disk.transfers().size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(disk.transfers()[i].write, expected[i].write) << i;
        EXPECT_EQ(disk.transfers()[i].firstSector, expected[i].firstSector) << i;
        EXPECT_EQ(disk.transfers()[i].bytes, expected[i].bytes) << i;
    }
    EXPECT_EQ(disk.seeks(), 0u);
    ASSERT_EQ(disk.opens().size(), 3u);
    EXPECT_EQ(disk.opens()[1].access, DeviceAccess::Write);
    EXPECT_EQ(disk.opens()[2].access, DeviceAccess::Read);
    EXPECT_TRUE(disk.EveryOpenClosed());
    ASSERT_EQ(disk.locks().size(), 2u);
    EXPECT_EQ(disk.locks()[1].access, DeviceAccess::Read);
    EXPECT_TRUE(disk.locks()[1].whileOpen);

    // The copy pass as without verify, then the verify pass from 0 to 100 percent.
    const auto copies = Posts(JobPhase::Copy);
    const auto verifies = Posts(JobPhase::Verify);
    EXPECT_EQ(copies.size(), chunks);
    ASSERT_EQ(verifies.size(), chunks + 1);
    EXPECT_EQ(copies.back()->progress.percentDone, 100u);
    EXPECT_EQ(verifies.front()->progress.percentDone, 0u);
    EXPECT_EQ(verifies.front()->progress.kilobytesCopied, 0u);
    EXPECT_STREQ(verifies.front()->progress.speedText, "0");
    EXPECT_EQ(verifies[1]->progress.kilobytesCopied, kChunk / 1024);
    EXPECT_EQ(verifies.back()->progress.percentDone, 100u);
    EXPECT_EQ(verifies.back()->progress.kilobytesCopied, data.size() / 1024);
    EXPECT_EQ(std::string(verifies.back()->progress.sizeText), std::to_string(data.size() / 1024) + " kB");
    EXPECT_LT(copies.back() - &host_.posts[0], verifies.front() - &host_.posts[0]);
}

INSTANTIATE_TEST_SUITE_P(
    AllKindsFormatsAndMethods, VerifyKinds,
    ::testing::Combine(::testing::Values(".img", ".imz", ".exe"), ::testing::Values(9u, 18u, 21u),
                       ::testing::Values(Flavour::Nt, Flavour::Vwin32)),
    [](const ::testing::TestParamInfo<KindCase>& param) {
        return std::string(std::get<0>(param.param) + 1) + std::to_string(std::get<1>(param.param)) +
               FlavourName(std::get<2>(param.param));
    });

// The pass measures its own speed from its own start.
TEST_F(VerifyJob, SpeedOfThePassCountsFromItsOwnStart) {
    SimulatedFloppy disk(9);
    Source("disk.img", Image(".img", 9));
    int64_t now = 1000;
    host_.clock = [&now] { return now; };
    host_.onPost = [&now](const TestJobHost::Posted&) { now += 1; };

    EXPECT_EQ(Run(disk, Flavour::Nt), 0);

    const auto verifies = Posts(JobPhase::Verify);
    ASSERT_GE(verifies.size(), 2u);
    // 10 kB after the one second since the pass began (the first notice's tick), not
    // since the job began 72 notices earlier.
    EXPECT_STREQ(verifies[1]->progress.speedText, "10.0");
}

// --- What the pass catches ------------------------------------------------------------------------

struct BadSectorCase {
    const char* name;
    uint32_t sectorsPerTrack;
    std::vector<uint32_t> changed;     // sectors the medium does not keep
    std::vector<uint32_t> unreadable;  // sectors that fail to read back
    long sector, cylinder, head, sectorInTrack;
};

class VerifyCatches : public VerifyJob, public ::testing::WithParamInterface<BadSectorCase> {};

TEST_P(VerifyCatches, FirstBadSectorIsNamedAndTheJobFails) {
    const BadSectorCase& c = GetParam();
    for (Flavour flavour : {Flavour::Nt, Flavour::Vwin32}) {
        SCOPED_TRACE(FlavourName(flavour));
        host_ = TestJobHost();
        SimulatedFloppy disk(c.sectorsPerTrack, flavour);
        for (uint32_t s : c.changed) disk.ChangeAfterWrite(s);
        for (uint32_t s : c.unreadable) disk.MakeUnreadable(s);
        Source("disk.imz", Image(".imz", c.sectorsPerTrack));

        EXPECT_EQ(Run(disk, flavour), -1);

        ASSERT_THAT(host_.sink.Ids(), ElementsAre(IDS_VERIFY_MISMATCH));
        const RecordingSink::Shown& shown = host_.sink.shown[0];
        EXPECT_EQ(shown.style, MessageStyle::Error);
        EXPECT_EQ(shown.number, c.sector);
        EXPECT_EQ(shown.secondNumber, c.cylinder);
        EXPECT_EQ(shown.thirdNumber, c.head);
        EXPECT_EQ(shown.fourthNumber, c.sectorInTrack);
        EXPECT_EQ(host_.Outcome(), JobNotice::Failed);
        EXPECT_EQ(outcome_.end, JobEnd::Failed);
        EXPECT_EQ(outcome_.messageId, static_cast<unsigned>(IDS_VERIFY_MISMATCH));
        EXPECT_TRUE(disk.EveryOpenClosed());
        EXPECT_FALSE(disk.IsOpen());
        // The pass stops at the chunk that holds the sector, and nothing is written again.
        const uint32_t badChunk = static_cast<uint32_t>(c.sector) / kSectorsPerChunk;
        EXPECT_EQ(Posts(JobPhase::Verify).size(), badChunk + 1);
        EXPECT_EQ(Writes(disk).size(), Data(c.sectorsPerTrack).size() / kChunk);
        EXPECT_FALSE(disk.transfers().back().write);
    }
}

INSTANTIATE_TEST_SUITE_P(
    ChangedAndUnreadableSectors, VerifyCatches,
    ::testing::Values(
        BadSectorCase{"First", 18, {0}, {}, 0, 0, 0, 1},
        BadSectorCase{"Last", 18, {2879}, {}, 2879, 79, 1, 18},
        BadSectorCase{"FirstOfHeadOne", 18, {18}, {}, 18, 0, 1, 1},
        BadSectorCase{"MidChunkOfTwo", 18, {1000, 1003}, {}, 1000, 27, 1, 11},
        BadSectorCase{"LastOf720", 9, {1439}, {}, 1439, 79, 1, 9},
        BadSectorCase{"HeadOneOf1680", 21, {1706}, {}, 1706, 40, 1, 6},
        BadSectorCase{"UnreadableFirst", 18, {}, {0}, 0, 0, 0, 1},
        BadSectorCase{"UnreadableMidChunk", 18, {}, {45}, 45, 1, 0, 10},
        BadSectorCase{"UnreadableLast", 21, {}, {3359}, 3359, 79, 1, 21},
        // In a chunk that fails to read, a changed sector in front of the unreadable
        // one comes first; behind it, the unreadable one does.
        BadSectorCase{"ChangedBeforeUnreadable", 18, {43}, {47}, 43, 1, 0, 8},
        BadSectorCase{"UnreadableBeforeChanged", 18, {47}, {43}, 43, 1, 0, 8}),
    [](const ::testing::TestParamInfo<BadSectorCase>& param) { return param.param.name; });

// A chunk that fails to read is read sector by sector up to the failing one.
TEST_F(VerifyJob, ChunkThatFailsToReadIsReadSectorBySector) {
    SimulatedFloppy disk(18);
    disk.MakeUnreadable(43);
    Source("disk.img", Image(".img", 18));

    EXPECT_EQ(Run(disk, Flavour::Nt), -1);

    std::vector<std::tuple<uint32_t, uint32_t, bool>> reads;
    for (const auto& t : disk.transfers()) {
        if (!t.write) reads.emplace_back(t.firstSector, t.bytes, t.ok);
    }
    std::vector<std::tuple<uint32_t, uint32_t, bool>> expected = {
        {0, kChunk, true}, {20, kChunk, true}, {40, kChunk, false},
        {40, 512, true},   {41, 512, true},   {42, 512, true}, {43, 512, false}};
    EXPECT_EQ(reads, expected);
}

// --- Cancel, and the job without verify ------------------------------------------------------------

TEST_F(VerifyJob, CancelDuringThePassEndsCancelledWithTheDiskWritten) {
    for (Flavour flavour : {Flavour::Nt, Flavour::Vwin32}) {
        SCOPED_TRACE(FlavourName(flavour));
        host_ = TestJobHost();
        SimulatedFloppy disk(18, flavour);
        Blank(disk);
        Source("disk.imz", Image(".imz", 18));
        const int copyNotices = 144;
        host_.cancelAfterProgress = copyNotices + 3;  // the pass's first notice and two chunks

        EXPECT_EQ(Run(disk, flavour), -1);

        EXPECT_EQ(host_.Outcome(), JobNotice::Progress) << "Finished or Failed posted";
        EXPECT_THAT(host_.sink.Ids(), IsEmpty());
        EXPECT_EQ(outcome_.end, JobEnd::Cancelled);
        EXPECT_EQ(Posts(JobPhase::Verify).size(), 3u);
        EXPECT_EQ(disk.transfers().size(), 144u + 2u) << "a read after the cancel";
        EXPECT_TRUE(DiskBytes(disk) == Data(18));
        EXPECT_TRUE(disk.EveryOpenClosed());
    }
}

TEST_F(VerifyJob, WithoutVerifyNothingIsReadBackAndEveryNoticeIsOfTheCopy) {
    SimulatedFloppy disk(18);
    disk.ChangeAfterWrite(5);  // unnoticed without the pass
    Source("disk.imz", Image(".imz", 18));
    request_.verify = false;

    EXPECT_EQ(Run(disk, Flavour::Nt), 0);

    EXPECT_EQ(host_.Outcome(), JobNotice::Finished);
    EXPECT_EQ(Writes(disk).size(), disk.transfers().size());
    EXPECT_EQ(disk.opens().size(), 2u);
    EXPECT_EQ(Posts(JobPhase::Verify).size(), 0u);
    EXPECT_EQ(Posts(JobPhase::Copy).size(), 144u);
}

// --- The checksum compared before writing --------------------------------------------------------

struct DamageCase {
    const char* name;  // its extension decides the kind
    std::string (*damage)(const std::string& image, size_t dataEnd);
    unsigned id;
};

// Where the checksum's digits begin, counted from the end of the image.
size_t ChecksumDigitsFromEnd(const std::string& image) {
    const size_t tag = image.rfind(kTrailerChecksumTag);
    return image.size() - tag - (sizeof kTrailerChecksumTag - 1);
}

class DamagedImage : public VerifyJob, public ::testing::WithParamInterface<DamageCase> {};

TEST_P(DamagedImage, IsRefusedWithTheDiskUnchanged) {
    const DamageCase& c = GetParam();
    SimulatedFloppy disk(18);
    const std::string hashBefore = Hash(DiskBytes(disk));
    const std::string good = Image(std::string(c.name).substr(std::string(c.name).rfind('.')), 18);
    const std::string bad = c.damage(good, good.size() - 1024);
    ASSERT_NE(bad, good);
    const std::string path = Source(c.name, bad);

    EXPECT_EQ(Run(disk, Flavour::Nt), -1);

    EXPECT_THAT(host_.sink.Ids(), ElementsAre(c.id));
    EXPECT_EQ(host_.Outcome(), JobNotice::Failed);
    EXPECT_TRUE(disk.transfers().empty());
    EXPECT_EQ(disk.opens().size(), 1u) << "only the type query may open the drive";
    EXPECT_EQ(Hash(DiskBytes(disk)), hashBefore);
    EXPECT_TRUE(ReadWholeFile(path) == bad);
}

std::string FlipMiddle(const std::string& image, size_t dataEnd) {
    std::string out = image;
    out[dataEnd / 2] ^= 0x01;
    return out;
}

std::string FlipLastDataByte(const std::string& image, size_t dataEnd) {
    std::string out = image;
    out[dataEnd - 1] ^= 0x80;
    return out;
}

// Another valid digit: the field still reads as a checksum, of other data.
std::string OtherChecksumDigit(const std::string& image, size_t) {
    std::string out = image;
    char& digit = out[out.size() - ChecksumDigitsFromEnd(out) + 10];
    digit = digit == '0' ? '1' : '0';
    return out;
}

// Not a digit: the field is malformed, the trailer damaged.
std::string BrokenChecksumDigit(const std::string& image, size_t) {
    std::string out = image;
    out[out.size() - ChecksumDigitsFromEnd(out) + 63] = 'G';
    return out;
}

INSTANTIATE_TEST_SUITE_P(
    OneByteChanged, DamagedImage,
    ::testing::Values(DamageCase{"stream.imz", FlipMiddle, IDS_IMAGE_READ_FAILED},
                      DamageCase{"stream.exe", FlipMiddle, IDS_IMAGE_READ_FAILED},
                      DamageCase{"data.img", FlipMiddle, IDS_IMAGE_CHECKSUM_MISMATCH},
                      DamageCase{"lastdata.img", FlipLastDataByte, IDS_IMAGE_CHECKSUM_MISMATCH},
                      DamageCase{"checksum.img", OtherChecksumDigit, IDS_IMAGE_CHECKSUM_MISMATCH},
                      DamageCase{"checksum.imz", OtherChecksumDigit, IDS_IMAGE_CHECKSUM_MISMATCH},
                      DamageCase{"checksum.exe", OtherChecksumDigit, IDS_IMAGE_CHECKSUM_MISMATCH},
                      DamageCase{"malformed.imz", BrokenChecksumDigit, IDS_IMAGE_CHECKSUM_MISMATCH},
                      DamageCase{"malformed.exe", BrokenChecksumDigit, IDS_IMAGE_CHECKSUM_MISMATCH}),
    [](const ::testing::TestParamInfo<DamageCase>& param) {
        std::string name = param.param.name;
        name[name.find('.')] = '_';
        return name;
    });

}  // namespace
