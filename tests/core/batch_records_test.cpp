// What a batch of disks writes beside its images: the numbered names, the log's lines
// and the hashdeep manifest, and the record the read job hands out for them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string.h>

#include "engine/image/md5_digest.h"
#include "engine/job/batch_naming.h"
#include "engine/job/hash_manifest.h"
#include "engine/job/image_log.h"
#include "engine/job/read_floppy_job.h"
#include "tests/support/image_files.h"
#include "tests/support/job_test_host.h"
#include "tests/support/simulated_floppy.h"
#include "tests/support/temp_dir.h"

namespace {

struct NameCase {
    const char* pattern;
    unsigned number;
    int parsed;
    const char* name;
};

TEST(BatchPattern, NumbersTheOneRunOfHashes) {
    const NameCase cases[] = {
        {"box4-##.imz", 3, 0, "box4-03.imz"},      {"box4-##.imz", 123, 0, "box4-123.imz"},
        {"####.img", 7, 0, "0007.img"},            {"disks/a#", 12, 0, "disks/a12"},
        {"box4.imz", 1, -1, ""},                   {"box#-##.imz", 1, -1, ""},
        {"#a#.img", 1, -1, ""},
    };
    for (const NameCase& c : cases) {
        SCOPED_TRACE(c.pattern);
        BatchPattern pattern;
        EXPECT_EQ(pattern.Parse(c.pattern), c.parsed);
        if (c.parsed == 0) {
            EXPECT_EQ(pattern.For(c.number), c.name);
        }
    }
    BatchPattern description;
    EXPECT_EQ(description.ParseOptional("Box 4"), 0);
    EXPECT_EQ(description.For(9), "Box 4");
    EXPECT_EQ(description.ParseOptional("Box 4, disk ##"), 0);
    EXPECT_EQ(description.For(9), "Box 4, disk 09");
    EXPECT_EQ(description.ParseOptional("# of ##"), -1);
}

TEST(ImageLog, TimesAreIso8601InUtc) {
    const std::pair<int64_t, const char*> cases[] = {
        {0, "1970-01-01T00:00:00Z"},
        {951782400, "2000-02-29T00:00:00Z"},
        {1796880717, "2026-12-10T05:31:57Z"},
        {4107542399, "2100-02-28T23:59:59Z"},
    };
    for (const auto& [seconds, text] : cases) EXPECT_EQ(IsoUtcTime(seconds), text);
}

TEST(ImageLog, BadSectorsAreCountedThenListedAsTheMapsRuns) {
    BadSectorList list;
    list.Reset(2880);
    EXPECT_EQ(BadSectorsText(list), "0");
    for (uint32_t s : {5u, 6u, 2879u}) list.Mark(s, true);
    EXPECT_EQ(BadSectorsText(list), "3 (0x00000A00+0x00000400, 0x00167E00+0x00000200)");
}

class ReadRecordTest : public ::testing::Test {
protected:
    int Read(SimulatedFloppy& disk, bool emergency) {
        const std::string target = dir_.File("disk.img");
        strcpy(request_.imagePath, target.c_str());
        request_.emergency = emergency;
        ReadFloppyJob job(request_, host_, disk);
        const int result = job.Run();
        record_ = job.Record();
        return result;
    }

    TempDir dir_;
    TestJobHost host_;
    JobRequest request_;
    ReadRecord record_;
};

// The log's hashes are of the disk's bytes; an image with a trailer or a stub has
// other bytes, so they must come from the job, not the file.
TEST_F(ReadRecordTest, HandsOutTheDisksFiguresAndHashes) {
    SimulatedFloppy disk(18);
    disk.MakeUnreadable(100);
    ASSERT_EQ(Read(disk, true), 0);
    std::string bytes = DiskBytes(disk);
    bytes.replace(100 * 512, 512, 512, '\0');
    char md5[Md5Digest::kHexLength + 1];
    Md5Hex(bytes.data(), bytes.size(), md5);
    char sha[Sha256Digest::kHexLength + 1];
    Sha256Hex(bytes.data(), bytes.size(), sha);
    EXPECT_TRUE(record_.complete);
    EXPECT_STREQ(record_.diskMd5, md5);
    EXPECT_STREQ(record_.diskSha256, sha);
    EXPECT_EQ(record_.sectors, 2880u);
    EXPECT_EQ(record_.badSectors.Count(), 1u);
    EXPECT_EQ(record_.retries, 3u);
    EXPECT_THAT(record_.format, ::testing::HasSubstr("1440 kB"));

    SimulatedFloppy bad(18);
    bad.MakeUnreadable(7);
    EXPECT_EQ(Read(bad, false), -1);
    EXPECT_FALSE(record_.complete);
}

TEST_F(ReadRecordTest, LogHasEveryKeyOnceInOrder) {
    SimulatedFloppy disk(18);
    disk.MakeUnreadable(5);
    ASSERT_EQ(Read(disk, true), 0);
    ImageLogFacts facts;
    facts.version = "1.5.2";
    facts.command = "vorlix read --batch box-#.img";
    facts.device = "/dev/fd0";
    facts.description = "Box 4, disk 01";
    facts.started = 0;
    facts.finished = 61;
    strcpy(facts.imageSha256, "ab");
    const std::string log = ComposeImageLog(facts, record_);
    std::vector<std::string> keys;
    size_t at = 0;
    while (at < log.size()) {
        const size_t end = log.find('\n', at);
        ASSERT_NE(end, std::string::npos) << "every line ends";
        const std::string line = log.substr(at, end - at);
        keys.push_back(line.substr(0, line.find(": ")));
        at = end + 1;
    }
    EXPECT_THAT(keys, ::testing::ElementsAre("Program", "Version", "Command", "Device", "Started", "Finished",
                                             "Format", "Description", "Sectors", "Bad sectors", "Recovered",
                                             "Retries", "Disk SHA-256", "Disk MD5", "Image SHA-256"));
    EXPECT_THAT(log, ::testing::HasSubstr("Finished: 1970-01-01T00:01:01Z\n"));
    EXPECT_THAT(log, ::testing::HasSubstr("Bad sectors: 1 (0x00000A00+0x00000200)\nRecovered: 2879 of 2880 sectors\n"));
    EXPECT_THAT(log, ::testing::HasSubstr(std::string("Disk MD5: ") + record_.diskMd5 + "\n"));
}

TEST(HashManifest, HeaderOnceThenOneRowPerFileAppended) {
    TempDir dir;
    const std::string manifest = dir.File("manifest.txt");
    WriteWholeFile(dir.File("a.img"), "abc");
    ManifestEntry entry;
    ASSERT_EQ(HashFile(dir.File("a.img").c_str(), &entry.hashes), 0);
    entry.name = "a.img";
    const std::string header = ManifestHeader("/archive", "vorlix read --batch a#.img");
    ASSERT_EQ(AppendToManifest(manifest, header, {entry}), 0);
    ASSERT_EQ(AppendToManifest(manifest, header, {entry}), 0);
    const std::string row =
        "3,900150983cd24fb0d6963f7d28e17f72,ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad,a.img\n";
    EXPECT_EQ(ReadWholeFile(manifest),
              "%%%% HASHDEEP-1.0\n%%%% size,md5,sha256,filename\n## Invoked from: /archive\n"
              "## $ vorlix read --batch a#.img\n##\n" + row + row);
    EXPECT_EQ(HashFile(dir.File("missing").c_str(), &entry.hashes), -1);
}

}  // namespace
