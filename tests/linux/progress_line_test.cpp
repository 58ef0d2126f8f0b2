// The progress line: its figures, its width, and when it is written.
#include <gtest/gtest.h>

#include "linux/progress_line.h"

namespace {

ProgressFigures At(uint32_t percent, uint32_t done, int64_t seconds, long bad = -1) {
    ProgressFigures figures;
    figures.percent = percent;
    figures.kilobytesDone = done;
    figures.kilobytesTotal = 1440;
    figures.speedText = "28.8";
    figures.secondsElapsed = seconds;
    figures.badSectors = bad;
    return figures;
}

struct TimeLeft {
    uint32_t done;
    uint32_t total;
    int64_t seconds;
    const char* expected;
};

class TimeLeftTest : public ::testing::TestWithParam<TimeLeft> {};

TEST_P(TimeLeftTest, FromThePaceSoFar) {
    const TimeLeft& c = GetParam();
    EXPECT_EQ(TimeLeftText(c.done, c.total, c.seconds), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, TimeLeftTest,
                         ::testing::Values(TimeLeft{0, 1440, 5, "--:-- left"},     // nothing yet
                                           TimeLeft{100, 1440, 0, "--:-- left"},   // no time yet
                                           TimeLeft{720, 1440, 30, "0:30 left"},
                                           TimeLeft{10, 1440, 1, "2:23 left"},
                                           TimeLeft{1, 1680, 60, "1679:00 left"},
                                           TimeLeft{1439, 1440, 100, "0:01 left"},  // rounded up
                                           TimeLeft{1440, 1440, 50, "0:00 left"},
                                           TimeLeft{1500, 1440, 50, "--:-- left"}));

TEST(ProgressLine, ShowsEveryFigure) {
    const std::string line = FormatProgressLine(At(50, 720, 25, 3), 120);
    EXPECT_EQ(line, "Reading floppy (1440 kB): 3 bad sectors so far [#############..............]  50% 720 kB copied "
                    "(28.8 kB/sec) 0:25 left");
}

TEST(ProgressLine, EightyColumnsKeepTheBarAndLeaveOutTheCount) {
    const std::string line = FormatProgressLine(At(50, 720, 25), 80);
    EXPECT_NE(line.find("Reading floppy (1440 kB) [#"), std::string::npos) << line;
    EXPECT_NE(line.find("]  50% 0:25 left"), std::string::npos) << line;
}

TEST(ProgressLine, WriteHasNoBadSectorsAndVerifyIsNamed) {
    ProgressFigures figures = At(100, 1440, 60);
    figures.kind = JobKind::Write;
    EXPECT_EQ(FormatPlainProgress(figures), "Writing floppy (1440 kB): 100% 1440 kB copied (28.8 kB/sec) 0:00 left");
    figures.phase = JobPhase::Verify;
    EXPECT_EQ(FormatPlainProgress(figures).substr(0, 27), "Verifying floppy (1440 kB):");
}

TEST(ProgressLine, NeverReachesTheLastColumn) {
    for (int width : {20, 40, 60, 79, 80, 200}) {
        for (uint32_t percent : {0u, 37u, 100u, 250u}) {
            const std::string line = FormatProgressLine(At(percent, 1000, 9, 12345), width);
            EXPECT_LE(static_cast<int>(line.size()), width - 1) << width;
            const size_t open = line.find('[');
            if (open != std::string::npos) {
                const size_t close = line.find(']');
                const size_t filled = line.substr(open + 1, close - open - 1).find('.');
                const size_t bar = close - open - 1;
                const size_t expected = (percent > 100 ? 100 : percent) * bar / 100;
                EXPECT_EQ(filled == std::string::npos ? bar : filled, expected) << width << " " << percent;
            }
        }
    }
}

TEST(ProgressView, TerminalRewritesOneLineAndBreaksItOnce) {
    std::string out;
    ProgressView view(ProgressMode::Line, [&out](const std::string& text) { out += text; }, 60);
    view.Show(At(1, 10, 0));
    view.Show(At(2, 20, 1));
    view.Break();
    view.Break();
    EXPECT_EQ(std::count(out.begin(), out.end(), '\r'), 2);
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1);
    EXPECT_EQ(out.back(), '\n');
    EXPECT_NE(out.find("\x1b[K"), std::string::npos) << "a shorter line leaves nothing of the longer one";
}

TEST(ProgressView, PlainLinesAtEachTenthAndAnewForTheVerifyPass) {
    std::string out;
    ProgressView view(ProgressMode::Plain, [&out](const std::string& text) { out += text; });
    for (uint32_t percent = 0; percent <= 100; ++percent) view.Show(At(percent, percent * 14, 1));
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 11);
    ProgressFigures verify = At(0, 0, 0);
    verify.phase = JobPhase::Verify;
    view.Show(verify);
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 12);
    view.Break();
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 12) << "plain lines are ended already";
    EXPECT_EQ(out.find('\r'), std::string::npos);
}

TEST(ProgressView, QuietShowsNothing) {
    std::string out;
    ProgressView view(ProgressMode::Quiet, [&out](const std::string& text) { out += text; });
    view.Show(At(50, 720, 3));
    view.Break();
    EXPECT_TRUE(out.empty());
}

}  // namespace
