// The status line under a job's progress bar: which message each pass shows.
#include "engine/job/progress_status.h"

#include <gtest/gtest.h>

#include <string>

#include "resources/string_ids.h"

namespace {

struct StatusCase {
    JobKind kind;
    JobPhase phase;
    uint32_t badSectors;
    unsigned id;
};

const StatusCase kCases[] = {
    {JobKind::Read, JobPhase::Copy, 0, IDS_READING_FLOPPY},
    {JobKind::Read, JobPhase::Copy, 3, IDS_READING_FLOPPY_BAD_SECTORS},
    {JobKind::Write, JobPhase::Copy, 0, IDS_WRITING_FLOPPY},
    {JobKind::Write, JobPhase::Verify, 0, IDS_VERIFYING_FLOPPY},
};

TEST(ProgressStatus, NamesThePassAndCountsWhatIsCopied) {
    for (const StatusCase& c : kCases) {
        JobProgress progress{50, 720, "28.8", "1440 kB", c.phase, c.badSectors};
        const ProgressStatus lines = ComposeProgressStatus(c.kind, progress);
        EXPECT_EQ(lines.status.id, c.id);
        EXPECT_EQ(std::string(lines.status.text), "1440 kB");
        EXPECT_EQ(lines.status.number, static_cast<long>(c.badSectors));
        EXPECT_EQ(lines.count.id, static_cast<unsigned>(IDS_KB_COPIED));
        EXPECT_EQ(std::string(lines.count.text), "28.8");
        EXPECT_EQ(lines.count.number, 720);
    }
}

}  // namespace
