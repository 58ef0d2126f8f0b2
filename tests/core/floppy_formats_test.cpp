// Every standard PC floppy format: the table, what a drive's answer names, the trailer's
// sector count under both readers, and the write job's refusal of a disk of another format.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string.h>

#include <set>
#include <string>

#include "engine/device/floppy_type.h"
#include "engine/image/image_check.h"
#include "engine/image/image_trailer.h"
#include "engine/image/trailer_reader.h"
#include "engine/job/write_floppy_job.h"
#include "resources/string_ids.h"
#include "tests/support/binary_data.h"
#include "tests/support/job_test_host.h"
#include "tests/support/recording_sink.h"
#include "tests/support/simulated_floppy.h"
#include "tests/support/temp_dir.h"

namespace {

using ::testing::ElementsAre;

struct Format {
    uint32_t cylinders, heads, sectorsPerTrack;
    uint32_t kilobytes;
    bool classic;
};

const Format kFormats[] = {
    {40, 1, 8, 160, false},  {40, 1, 9, 180, false},  {40, 2, 8, 320, false},
    {40, 2, 9, 360, false},  {80, 2, 9, 720, true},   {80, 2, 15, 1200, false},
    {80, 2, 18, 1440, true}, {80, 2, 21, 1680, true}, {80, 2, 36, 2880, false},
};

const FloppyType& TypeOf(const Format& f) {
    const FloppyType* type = FindFloppyTypeOfSize(f.kilobytes * 1024ull);
    EXPECT_NE(type, nullptr) << f.kilobytes;
    return *type;
}

TEST(FloppyFormats, NineFormatsEachNamedByItsSize) {
    uint32_t count = 0;
    const FloppyType* types = FloppyTypes(&count);
    ASSERT_EQ(count, 9u);
    std::set<std::string> names;
    for (uint32_t i = 0; i < count; ++i) {
        const Format& f = kFormats[i];
        const FloppyType& type = types[i];
        SCOPED_TRACE(f.kilobytes);
        // The geometry itself is mtools' to judge (floppy_formats_test.sh).
        EXPECT_EQ(&TypeOf(f), &type);
        names.insert(type.name);
        // Sectors per track alone name only the formats trailers have always named so.
        EXPECT_EQ(FindFloppyType(f.sectorsPerTrack) == &type, f.classic);
        EXPECT_EQ(TrailerTotalSectors(type), f.classic ? 0 : int(f.kilobytes * 2));
        EXPECT_EQ(FindFloppyTypeOfTrailer(int(f.sectorsPerTrack), TrailerTotalSectors(type)), &type);
    }
    EXPECT_EQ(names.size(), 9u);
    EXPECT_EQ(kLargestFloppyBytes, 2949120u);
}

TEST(FloppyFormats, EveryFormatADriveReportsIsDetermined) {
    for (const Format& f : kFormats) {
        SCOPED_TRACE(f.kilobytes);
        SimulatedFloppy floppy(TypeOf(f));
        RecordingSink sink;
        const FloppyType* type = nullptr;
        ASSERT_EQ(DetermineFloppyType(floppy, DeviceAccess::Read, "A:", sink, &type), 0);
        EXPECT_EQ(type, &TypeOf(f));
        EXPECT_EQ(floppy.disk().size(), type->totalBytes);
    }
}

// A geometry whose values are not all one format's is no format.
struct Answer {
    DiskGeometry geometry;
    uint32_t kilobytes;  // 0: none
};

TEST(FloppyFormats, AGeometryNamesAFormatOnlyWhenEveryValueAgrees) {
    const Answer answers[] = {
        {{40, 2, 9, 720}, 360},  {{0, 0, 9, 720}, 360},   {{40, 2, 9, 0}, 360},
        {{0, 0, 36, 5760}, 2880}, {{80, 2, 15, 0}, 1200}, {{0, 0, 9, 0}, 720},
        {{0, 2, 18, 0}, 1440},   {{0, 0, 0, 320}, 160},
        {{40, 1, 9, 720}, 0},    {{80, 2, 9, 720}, 0},    {{0, 0, 18, 720}, 0},
        {{0, 0, 15, 0}, 0},      {{0, 0, 36, 0}, 0},      {{40, 2, 10, 0}, 0},
        {{0, 0, 0, 0}, 0},       {{0, 0, 9, 721}, 0},     {{0, 0, 0, 0xFFFFFFFF}, 0},
    };
    for (const Answer& a : answers) {
        SCOPED_TRACE(::testing::Message() << a.geometry.cylinders << "x" << a.geometry.heads << "x"
                                          << a.geometry.sectorsPerTrack << " of "
                                          << a.geometry.totalSectors);
        const FloppyType* type = FindFloppyTypeOfGeometry(a.geometry);
        if (a.kilobytes == 0) {
            EXPECT_EQ(type, nullptr);
            SimulatedFloppy floppy(18);
            floppy.ReportGeometry(a.geometry);
            RecordingSink sink;
            EXPECT_EQ(DetermineFloppyType(floppy, DeviceAccess::Write, "A:", sink, &type), -1);
            EXPECT_THAT(sink.Ids(), ElementsAre(IDS_UNKNOWN_FLOPPY_TYPE));
        } else {
            ASSERT_NE(type, nullptr);
            EXPECT_EQ(type->totalBytes, a.kilobytes * 1024);
        }
    }
}

// --- Trailers -------------------------------------------------------------------------

const std::string kDigits = "0123456789abcdef0123456789abcdef0123456789abcdef0123456789abcdef";

std::string TrailerOf(TempDir& dir, const std::string& name, const char* description,
                      int sectorsPerTrack, int badSectors, int totalSectors) {
    const std::string path = dir.File(name);
    WriteWholeFile(path, BinaryTestData(4096, 5));
    EXPECT_EQ(AppendImageTrailer(path.c_str(), description, sectorsPerTrack, kDigits.c_str(),
                                 badSectors, totalSectors),
              0);
    return path;
}

TEST(FloppyFormatTrailers, NewFormatsAddTheirSectorCountAfterEveryOtherField) {
    for (const Format& f : kFormats) {
        for (int bad : {0, 7}) {
            SCOPED_TRACE(::testing::Message() << f.kilobytes << " kB, bad " << bad);
            TempDir dir;
            const FloppyType& type = TypeOf(f);
            const int spt = int(f.sectorsPerTrack);
            const std::string classic =
                ReadWholeFile(TrailerOf(dir, "old.img", "Disk", spt, bad, 0));
            const std::string made =
                ReadWholeFile(TrailerOf(dir, "new.img", "Disk", spt, bad, TrailerTotalSectors(type)));
            const size_t end = classic.find('\0', 4096);
            ASSERT_EQ(made.size(), classic.size());
            EXPECT_EQ(made.substr(0, end), classic.substr(0, end)) << "earlier fields moved";
            const std::string field =
                f.classic ? "" : " [Sectors " + std::to_string(f.kilobytes * 2) + "]";
            EXPECT_EQ(made.substr(end, field.size() + 1), field + std::string(1, '\0'));
            if (!f.classic) {
                EXPECT_NE(made.find("[SectorsPerTrack " + std::to_string(spt) + "]"), std::string::npos);
            }
        }
    }
}

TEST(FloppyFormatTrailers, BothReadersReadTheCountAndTheirOldViewStaysTheSame) {
    for (const Format& f : kFormats) {
        TempDir dir;
        const FloppyType& type = TypeOf(f);
        const std::string path = TrailerOf(dir, "d.img", "Tools [Sectors 1440]", int(f.sectorsPerTrack),
                                           3, TrailerTotalSectors(type));
        for (const TrailerPolicy* policy : {&kProgramTrailerPolicy, &kStubTrailerPolicy}) {
            SCOPED_TRACE(::testing::Message() << f.kilobytes << (policy == &kStubTrailerPolicy ? " stub" : ""));
            char description[kDescriptionBufferSize];
            int sectors = 0, bad = 0, total = -1;
            TrailerChecksum checksum;
            // What a reader that knows nothing of the count sees.
            ASSERT_EQ(ReadTrailerFile(path.c_str(), *policy, description, &sectors, &checksum, &bad),
                      kTrailerRead);
            EXPECT_STREQ(description, "Tools [Sectors 1440]");
            EXPECT_EQ(sectors, int(f.sectorsPerTrack));
            EXPECT_EQ(bad, 3);
            EXPECT_EQ(checksum.state, TrailerChecksum::Stored);
            EXPECT_EQ(checksum.hex, kDigits);
            // The count comes from behind the description, never from its text.
            ASSERT_EQ(ReadTrailerFile(path.c_str(), *policy, description, &sectors, &checksum, &bad,
                                      &total),
                      kTrailerRead);
            EXPECT_EQ(total, TrailerTotalSectors(type));
            EXPECT_EQ(FindFloppyTypeOfTrailer(sectors, total), &type);
        }
    }
}

TEST(FloppyFormatTrailers, ACountThatDisagreesWithTheSectorsPerTrackNamesNoFormat) {
    EXPECT_EQ(FindFloppyTypeOfTrailer(18, 720), nullptr);
    EXPECT_EQ(FindFloppyTypeOfTrailer(9, 721), nullptr);
    EXPECT_EQ(FindFloppyTypeOfTrailer(0, 720), nullptr);
    EXPECT_EQ(FindFloppyTypeOfTrailer(-9, 720), nullptr);
    EXPECT_EQ(FindFloppyTypeOfTrailer(9, -720), FindFloppyType(9));
}

// Data and trailer that disagree: the data must be one disk of the trailer's format.
TEST(FloppyFormatTrailers, DataOfAnotherSizeThanTheTrailersFormatIsNoWholeDisk) {
    struct Disagreement {
        uint32_t dataBytes;
        int sectorsPerTrack, totalSectors;
        long needed;
    };
    const Disagreement cases[] = {
        {1474560, 9, 720, 368640},   // a 360 kB trailer over 1440 kB of data
        {368640, 9, 0, 737280},      // a classic 720 kB trailer over 360 kB of data
        {2949120, 18, 0, 1474560},
        {1474560, 36, 5760, 2949120},
    };
    for (const Disagreement& c : cases) {
        SCOPED_TRACE(c.needed);
        TempDir dir;
        const std::string path = dir.File("disk.img");
        WriteWholeFile(path, BinaryTestData(c.dataBytes, 4));
        ASSERT_EQ(AppendImageTrailer(path.c_str(), "Disk", c.sectorsPerTrack, nullptr, 0, c.totalSectors), 0);
        CheckedImage image;
        RecordingSink sink;
        EXPECT_EQ(image.Load(path.c_str(), sink), -1);
        ASSERT_THAT(sink.Ids(), ElementsAre(IDS_IMAGE_NOT_WHOLE_DISK));
        EXPECT_EQ(sink.shown[0].number, static_cast<long>(c.dataBytes));
        EXPECT_EQ(sink.shown[0].secondNumber, c.needed);
    }
}

// --- The write job ---------------------------------------------------------------------

struct Mismatch {
    uint32_t imageKilobytes;
    uint32_t diskKilobytes;
    unsigned id;
    const char* text;
    long number;
};

TEST(FloppyFormatWrite, ADiskOfAnotherFormatIsRefusedBeforeAnyWrite) {
    const Mismatch cases[] = {
        {360, 1440, IDS_DISK_NEEDS_FORMAT, "360 kB, 5.25-inch double density", 0},
        {2880, 1440, IDS_DISK_NEEDS_FORMAT, "2880 kB, 3.5-inch extra-high density", 0},
        {1440, 2880, IDS_DISK_NEEDS_FORMAT, "1440 kB, 3.5-inch high density", 0},
        {160, 180, IDS_DISK_NEEDS_FORMAT, "160 kB, 5.25-inch single-sided", 0},
        {1200, 360, IDS_DISK_NEEDS_FORMAT, "1200 kB, 5.25-inch high density", 0},
        {720, 360, IDS_DISK_NEEDS_FORMAT, "720 kB, 3.5-inch double density", 0},
        // Between the three 3.5-inch formats of the first versions, their own messages.
        {720, 1440, IDS_DISK_NEEDS_OTHER_DENSITY, "double density (DD)", 0},
        {1680, 1440, IDS_DISK_NEEDS_OTHER_FORMAT, "", 1680},
    };
    for (const Mismatch& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.imageKilobytes << " onto " << c.diskKilobytes);
        TempDir dir;
        const FloppyType* image = FindFloppyTypeOfSize(c.imageKilobytes * 1024ull);
        const FloppyType* diskType = FindFloppyTypeOfSize(c.diskKilobytes * 1024ull);
        ASSERT_NE(image, nullptr);
        ASSERT_NE(diskType, nullptr);
        const std::string path = dir.File("disk.img");
        WriteWholeFile(path, BinaryTestData(image->totalBytes, 11));
        ASSERT_EQ(AppendImageTrailer(path.c_str(), "Disk", int(image->sectorsPerTrack), nullptr, 0,
                                     TrailerTotalSectors(*image)),
                  0);
        SimulatedFloppy disk(*diskType);
        const std::vector<uint8_t> before = disk.disk();
        JobRequest request;
        strcpy(request.imagePath, path.c_str());
        TestJobHost host;
        WriteFloppyJob job(request, host, disk);

        EXPECT_EQ(job.Run(), -1);

        ASSERT_THAT(host.sink.Ids(), ElementsAre(c.id));
        EXPECT_EQ(host.sink.shown[0].text, c.text);
        EXPECT_EQ(host.sink.shown[0].number, c.number);
        EXPECT_TRUE(disk.transfers().empty()) << "the drive was touched";
        EXPECT_TRUE(disk.disk() == before);
        for (const SimulatedFloppy::OpenRecord& open : disk.opens()) EXPECT_TRUE(open.closed);
        EXPECT_EQ(disk.opens().size(), 1u) << "only the question was asked";
    }
}

}  // namespace
