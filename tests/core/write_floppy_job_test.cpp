#include "engine/job/write_floppy_job.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <tuple>
#include <vector>

#include "engine/image/image_kind.h"
#include "engine/image/image_trailer.h"
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

const char* FlavourName(Flavour flavour) {
    return flavour == Flavour::Nt ? "Nt" : "Vwin32";
}

std::string TrailerBlock(const std::string& description, int sectorsPerTrack) {
    TempDir dir;
    const std::string path = dir.File("trailer");
    WriteWholeFile(path, "");
    EXPECT_EQ(AppendImageTrailer(path.c_str(), description.c_str(), sectorsPerTrack), 0);
    return ReadWholeFile(path);
}

struct Write {
    bool write;
    uint32_t firstSector;
    uint32_t bytes;
    bool ok;
    bool operator==(const Write& o) const {
        return write == o.write && firstSector == o.firstSector && bytes == o.bytes && ok == o.ok;
    }
};

void PrintTo(const Write& w, std::ostream* os) {
    *os << (w.write ? "write " : "read ") << w.firstSector << "+" << w.bytes
        << (w.ok ? "" : " failed");
}

std::vector<Write> Transfers(const SimulatedFloppy& disk) {
    std::vector<Write> out;
    for (const SimulatedFloppy::Transfer& t : disk.transfers()) {
        out.push_back(Write{t.write, t.firstSector, t.bytes, t.ok});
    }
    return out;
}

// A disk of the given format holding nothing but zeros.
void Blank(SimulatedFloppy& disk) {
    std::fill(disk.disk().begin(), disk.disk().end(), 0);
}

class WriteJob : public ::testing::Test {
protected:
    // Makes `name` in the test's folder from `bytes` and aims the job at it; ".imz" and
    // ".exe" sources are compressed.
    std::string Source(const std::string& name, const std::string& bytes) {
        const std::string path = dir_.File(name);
        WriteWholeFile(path, bytes);
        EXPECT_LT(path.size(), sizeof request_.imagePath);
        strcpy(request_.imagePath, path.c_str());
        return path;
    }

    // An image of `data` of the kind `extension` names, with a trailer naming its format
    // (none for 0).
    std::string Image(const std::string& extension, const std::string& data,
                      int sectorsPerTrack) {
        const std::string trailer =
            sectorsPerTrack != 0 ? TrailerBlock("written back", sectorsPerTrack) : "";
        if (extension == ".img") return data + trailer;
        const std::string stream = CompressedStream(data);
        if (extension == ".imz") return stream + trailer;
        const std::string stub = RestorerStubSignatureBytes() + BinaryTestData(30000, 5);
        return stub + stream + trailer;
    }

    int Run(SimulatedFloppy& disk, Flavour flavour) {

        EXPECT_EQ(disk.KeepsPosition(), flavour == Flavour::Nt) << "the method counts as its disk";
        WriteFloppyJob job(request_, host_, disk);
        return job.Run();
    }

    void ExpectFailed(const SimulatedFloppy& disk, unsigned id) {
        EXPECT_THAT(host_.sink.Ids(), ElementsAre(id));
        if (!host_.sink.shown.empty()) {
            EXPECT_EQ(host_.sink.shown[0].style, MessageStyle::Error);
        }
        EXPECT_EQ(host_.Outcome(), JobNotice::Failed);
        EXPECT_TRUE(disk.EveryOpenClosed());
        EXPECT_FALSE(disk.IsOpen());
    }

    TempDir dir_;
    TestJobHost host_;
    JobRequest request_;
};

// --- Every kind and format, over both methods -----------------------------------------------

using KindCase = std::tuple<const char*, uint32_t, Flavour>;

class WriteJobKinds : public WriteJob, public ::testing::WithParamInterface<KindCase> {};

TEST_P(WriteJobKinds, WritesExactlyTheImagesSectorsAndNeverItsTrailer) {
    const std::string extension = std::get<0>(GetParam());
    const uint32_t sectorsPerTrack = std::get<1>(GetParam());
    const Flavour flavour = std::get<2>(GetParam());
    SimulatedFloppy disk(sectorsPerTrack, flavour);
    const std::string data = BinaryTestData(disk.disk().size(), sectorsPerTrack);
    Blank(disk);
    const std::string source = Source("disk" + extension, Image(extension, data, sectorsPerTrack));
    const std::string before = ReadWholeFile(source);

    EXPECT_EQ(Run(disk, flavour), 0);

    EXPECT_TRUE(DiskBytes(disk) == data) << "the disk is not the image";
    const uint32_t chunks = static_cast<uint32_t>(data.size() / kChunk);
    std::vector<Write> expected;
    for (uint32_t i = 0; i < chunks; ++i) expected.push_back(Write{true, i * 20, kChunk, true});
    EXPECT_EQ(Transfers(disk), expected);
    EXPECT_EQ(disk.seeks(), 0u);
    ASSERT_EQ(disk.opens().size(), 2u);
    EXPECT_EQ(disk.opens()[0].access, DeviceAccess::Write);  // the type query
    EXPECT_EQ(disk.opens()[1].access, DeviceAccess::Write);
    EXPECT_TRUE(disk.EveryOpenClosed());
    EXPECT_TRUE(ReadWholeFile(source) == before) << "the source changed";
    EXPECT_TRUE(NothingHoldsFile(source));

    EXPECT_THAT(host_.sink.Ids(), IsEmpty());
    EXPECT_EQ(host_.Outcome(), JobNotice::Finished);
    EXPECT_EQ(host_.Count(JobNotice::Progress), static_cast<int>(chunks));
    for (const TestJobHost::Posted& p : host_.posts) {
        EXPECT_EQ(p.kind, JobKind::Write);
        EXPECT_EQ(p.progress.phase, JobPhase::Copy);  // no read-back unless asked for
    }
    const JobProgress& last = host_.Last(JobNotice::Progress)->progress;
    EXPECT_EQ(last.percentDone, 100u);
    EXPECT_EQ(last.kilobytesCopied, data.size() / 1024);
    EXPECT_EQ(std::string(last.sizeText), std::to_string(data.size() / 1024) + " kB");
    EXPECT_EQ(std::string(last.speedText), "0");  // the test clock stands still
}

INSTANTIATE_TEST_SUITE_P(
    AllKindsFormatsAndMethods, WriteJobKinds,
    ::testing::Combine(::testing::Values(".img", ".imz", ".exe"), ::testing::Values(9u, 18u, 21u),
                       ::testing::Values(Flavour::Nt, Flavour::Vwin32)),
    [](const ::testing::TestParamInfo<KindCase>& param) {
        return std::string(std::get<0>(param.param) + 1) + std::to_string(std::get<1>(param.param)) +
               FlavourName(std::get<2>(param.param));
    });

// --- Images without trailer ----------------------------------------------------------------------

// Without a trailer every byte is data, the last 1024 bytes too, and the disk in the drive
// says how many there must be.
TEST_F(WriteJob, RawImageWithoutTrailerIsAllItsBytes) {
    for (Flavour flavour : {Flavour::Nt, Flavour::Vwin32}) {
        SCOPED_TRACE(FlavourName(flavour));
        host_ = TestJobHost();
        SimulatedFloppy disk(18, flavour);
        Blank(disk);
        const std::string image = BinaryTestData(1474560, 9);
        Source("foreign.img", image);

        EXPECT_EQ(Run(disk, flavour), 0);

        EXPECT_EQ(Transfers(disk).size(), 144u);
        EXPECT_TRUE(DiskBytes(disk) == image);
        EXPECT_EQ(host_.Outcome(), JobNotice::Finished);
        EXPECT_EQ(host_.Last(JobNotice::Progress)->progress.percentDone, 100u);
    }
}

// 1024 bytes past a chunk's end are data, in a raw image as in a stream: both are one
// disk and 1024 bytes, and refused whole.
TEST_F(WriteJob, ThousandTwentyFourBytesPastTheDiskAreDataNotATrailer) {
    const std::string data = BinaryTestData(1474560 + 1024, 17);
    for (const char* name : {"long.img", "long.imz"}) {
        SCOPED_TRACE(name);
        host_ = TestJobHost();
        SimulatedFloppy disk(18);
        const std::string before = DiskBytes(disk);
        const bool raw = HasExtension(name, ".img");
        Source(name, raw ? data : CompressedStream(data));

        EXPECT_EQ(Run(disk, Flavour::Nt), -1);

        ExpectFailed(disk, IDS_IMAGE_NOT_WHOLE_DISK);
        EXPECT_EQ(host_.sink.shown[0].number, 1475584);
        EXPECT_EQ(host_.sink.shown[0].secondNumber, 1474560);
        EXPECT_TRUE(Transfers(disk).empty());
        EXPECT_TRUE(DiskBytes(disk) == before);
    }
}

// An image longer than the disk is refused before the drive is opened for writing.
TEST_F(WriteJob, RawImageLongerThanTheDiskIsRefusedBeforeWriting) {
    SimulatedFloppy disk(9);
    const std::string before = DiskBytes(disk);
    Source("long.img", BinaryTestData(737280 + kChunk, 3));
    EXPECT_EQ(Run(disk, Flavour::Nt), -1);
    ExpectFailed(disk, IDS_IMAGE_NOT_WHOLE_DISK);
    EXPECT_EQ(host_.sink.shown[0].number, 737280 + static_cast<long>(kChunk));
    EXPECT_EQ(host_.Count(JobNotice::Progress), 0);
    EXPECT_TRUE(DiskBytes(disk) == before);
}

// --- Write failures ---------------------------------------------------------------------------------

TEST_F(WriteJob, WriteProtectedDiskFailsAtTheFirstChunkWithNothingWritten) {
    for (Flavour flavour : {Flavour::Nt, Flavour::Vwin32}) {
        for (int32_t imageSectorsPerTrack : {18, 0}) {
            SCOPED_TRACE(std::string(FlavourName(flavour)) + " " +
                         std::to_string(imageSectorsPerTrack));
            host_ = TestJobHost();
            SimulatedFloppy disk(18, flavour);
            const std::string before = DiskBytes(disk);
            disk.SetWriteProtected(true);
            Source("disk.img", Image(".img", BinaryTestData(1474560, 4), imageSectorsPerTrack));

            EXPECT_EQ(Run(disk, flavour), -1);

            ExpectFailed(disk, IDS_WRITE_PROTECTED);
            EXPECT_THAT(Transfers(disk), ElementsAre(Write{true, 0, kChunk, false}));
            EXPECT_TRUE(DiskBytes(disk) == before);
            EXPECT_EQ(host_.Count(JobNotice::Progress), 0);
        }
    }
}

// A bad sector: with the image's format known, the disk is bad; without, the likely
// causes are listed.
TEST_F(WriteJob, WriteErrorMessageDependsOnWhetherTheImageHadATrailer) {
    const struct {
        int32_t imageSectorsPerTrack;
        unsigned id;
    } cases[] = {{18, IDS_SECTOR_WRITE_FAILED}, {0, IDS_SECTOR_WRITE_FAILED_NO_TRAILER}};
    for (Flavour flavour : {Flavour::Nt, Flavour::Vwin32}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(FlavourName(flavour)) + " " +
                         std::to_string(c.imageSectorsPerTrack));
            host_ = TestJobHost();
            SimulatedFloppy disk(18, flavour);
            disk.FailWriteAt(45, 0x4D2);
            Source("disk.imz", Image(".imz", BinaryTestData(1474560, 6), c.imageSectorsPerTrack));

            EXPECT_EQ(Run(disk, flavour), -1);

            ExpectFailed(disk, c.id);
            EXPECT_EQ(host_.sink.shown[0].number, 0x4D2);
            EXPECT_EQ(host_.Count(JobNotice::Progress), 2);
        }
    }
}

// --- Refusals before writing ----------------------------------------------------------------------

TEST_F(WriteJob, ImageOfAnotherFormatIsRefusedBeforeTheDriveIsOpenedForWriting) {
    SimulatedFloppy disk(18);
    const std::string before = DiskBytes(disk);
    Source("small.img", Image(".img", BinaryTestData(737280, 8), 9));

    EXPECT_EQ(Run(disk, Flavour::Nt), -1);

    ExpectFailed(disk, IDS_DISK_NEEDS_OTHER_DENSITY);
    EXPECT_EQ(host_.sink.shown[0].text, "double density (DD)");
    ASSERT_EQ(disk.opens().size(), 1u) << "only the type query may open the drive";
    EXPECT_TRUE(disk.transfers().empty());
    EXPECT_TRUE(DiskBytes(disk) == before);
}

TEST_F(WriteJob, FailuresBeforeTheFirstChunkLeaveTheDiskAlone) {
    const std::string good = Image(".imz", BinaryTestData(1474560, 10), 18);
    const std::string stream = CompressedStream(BinaryTestData(1474560, 10));
    struct Case {
        const char* name;
        std::string source;  // "" for none
        void (*fault)(SimulatedFloppy&);
        unsigned id;
        bool sourcePathShown;
    };
    const std::string farStub = RestorerStubSignatureBytes() + std::string(524288, 'x');
    const Case cases[] = {
        {"QueryFails", good, [](SimulatedFloppy& d) { d.FailQuery(true); }, IDS_UNKNOWN_FLOPPY_TYPE,
         false},
        {"DriveDoesNotOpen", good, [](SimulatedFloppy& d) { d.FailOpen(false, true); },
         IDS_UNABLE_TO_OPEN, false},
        {"NoSource.imz", "", nullptr, IDS_UNABLE_TO_OPEN, true},
        {"NoSource.img", "", nullptr, IDS_UNABLE_TO_OPEN, true},
        {"NoStream.exe", RestorerStubSignatureBytes() + std::string(70000, 'x'), nullptr,
         IDS_EXE_HAS_NO_IMAGE, false},
        {"StreamTooFarIn.exe", farStub + stream, nullptr, IDS_EXE_HAS_NO_IMAGE, false},
        {"NotBzip2.imz", std::string(30000, 'x'), nullptr, IDS_IMAGE_READ_FAILED, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        host_ = TestJobHost();
        strcpy(request_.drive, "B:");
        SimulatedFloppy disk(18);
        const std::string before = DiskBytes(disk);
        if (c.fault) c.fault(disk);
        std::string name = c.name;
        if (!HasExtension(name.c_str(), ".img") && !HasExtension(name.c_str(), ".imz") &&
            !HasExtension(name.c_str(), ".exe")) {
            name += ".imz";
        }
        const std::string path = Source(name, c.source);
        if (c.source.empty()) remove(path.c_str());

        EXPECT_EQ(Run(disk, Flavour::Nt), -1);

        ExpectFailed(disk, c.id);
        if (c.id == IDS_UNABLE_TO_OPEN) {
            EXPECT_EQ(host_.sink.shown[0].text, c.sourcePathShown ? path : "B:");
        }
        EXPECT_TRUE(DiskBytes(disk) == before);
        EXPECT_EQ(host_.Count(JobNotice::Progress), 0);
        if (!c.source.empty()) {
            EXPECT_TRUE(ReadWholeFile(path) == c.source);
            EXPECT_TRUE(NothingHoldsFile(path));
        }
    }
}

// The stream of a self-extracting image may lie anywhere in its first 512 kB.
TEST_F(WriteJob, SelfExtractingImageWithItsStreamLateInTheStub) {
    SimulatedFloppy disk(9);
    const std::string data = BinaryTestData(737280, 12);
    Blank(disk);
    const std::string stub = RestorerStubSignatureBytes() + std::string(500000, 'x');
    Source("late.exe", stub + CompressedStream(data) + TrailerBlock("", 9));
    EXPECT_EQ(Run(disk, Flavour::Nt), 0);
    EXPECT_TRUE(DiskBytes(disk) == data);
}

// --- Damaged images ------------------------------------------------------------------------------------

// Writing on after damage would leave a disk that only looks restored.
TEST_F(WriteJob, DamagedOrTruncatedStreamFailsWithReadError) {
    const std::string data = BinaryTestData(1474560, 14);
    const std::string stream = CompressedStream(data);
    std::string flipped = stream;
    flipped[stream.size() / 2] ^= 0x55;
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"flipped.imz", flipped + TrailerBlock("", 18)},
        {"truncated.imz", stream.substr(0, stream.size() / 2)},
        {"truncated-before-trailer.imz", stream.substr(0, stream.size() - 100) + TrailerBlock("", 18)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        host_ = TestJobHost();
        SimulatedFloppy disk(18);
        const std::string path = Source(c.name, c.bytes);

        EXPECT_EQ(Run(disk, Flavour::Nt), -1);

        ExpectFailed(disk, IDS_IMAGE_READ_FAILED);
        EXPECT_TRUE(ReadWholeFile(path) == c.bytes);
        EXPECT_TRUE(NothingHoldsFile(path));
    }
}

// --- Cancel -------------------------------------------------------------------------------------------------

TEST_F(WriteJob, CancelLeavesTheDiskPartlyWrittenAndTheSourceUntouched) {
    const std::string data = BinaryTestData(1474560, 15);
    for (const char* extension : {".img", ".imz", ".exe"}) {
        for (Flavour flavour : {Flavour::Nt, Flavour::Vwin32}) {
            SCOPED_TRACE(std::string(extension) + " " + FlavourName(flavour));
            host_ = TestJobHost();
            host_.cancelAfterProgress = 4;
            SimulatedFloppy disk(18, flavour);
            Blank(disk);
            const std::string path =
                Source(std::string("cancel") + extension, Image(extension, data, 18));
            const std::string before = ReadWholeFile(path);

            EXPECT_EQ(Run(disk, flavour), -1);

            EXPECT_EQ(host_.Outcome(), JobNotice::Progress) << "Finished or Failed posted";
            EXPECT_EQ(host_.posts.size(), 4u);
            // Seen before the write that would follow the fourth notice.
            EXPECT_EQ(Transfers(disk).size(), 4u);
            EXPECT_TRUE(DiskBytes(disk).substr(0, 4 * kChunk) == data.substr(0, 4 * kChunk));
            EXPECT_EQ(DiskBytes(disk).substr(4 * kChunk, kChunk), std::string(kChunk, '\0'));
            EXPECT_TRUE(ReadWholeFile(path) == before);
            EXPECT_TRUE(NothingHoldsFile(path));
            EXPECT_TRUE(disk.EveryOpenClosed());
            EXPECT_THAT(host_.sink.Ids(), IsEmpty());
        }
    }
}

}  // namespace
