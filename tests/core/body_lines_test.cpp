#include "online/body_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct SplitCase {
    const char* name;
    std::string body;
    std::vector<std::string> lines;
};

std::ostream& operator<<(std::ostream& out, const SplitCase& c) { return out << c.name; }

class SplitBodyLinesTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitBodyLinesTest, GivesTheLines) {
    EXPECT_EQ(SplitBodyLines(GetParam().body), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Bodies, SplitBodyLinesTest,
    ::testing::Values(
        SplitCase{"Empty", "", {}},
        SplitCase{"OneLineWithoutEnd", "a", {"a"}},
        SplitCase{"OneLineWithEnd", "a\n", {"a"}},
        SplitCase{"EmptyLastLine", "a\n\n", {"a", ""}},
        SplitCase{"OnlyALineFeed", "\n", {""}},
        SplitCase{"LineFeeds", "a\nb", {"a", "b"}},
        SplitCase{"CarriageReturnLineFeeds", "a\r\nb\r\n", {"a", "b"}},
        SplitCase{"MixedLineEnds", "a\r\nb\nc", {"a", "b", "c"}},
        SplitCase{"OnlyOneCarriageReturnGoes", "a\r\r\n", {"a\r"}},
        SplitCase{"LoneCarriageReturnStays", "a\rb\nc\r", {"a\rb", "c\r"}},
        SplitCase{"EmptyCrLfLine", "\r\n\r\nx", {"", "", "x"}}),
    [](const ::testing::TestParamInfo<SplitCase>& p) { return std::string(p.param.name); });

TEST(AppendJoined, LeadingEmptyLinesAddNothingLaterOnesStay) {
    std::string text;
    for (const char* line : {"", "", "a", "", "b"}) AppendJoined(text, line);
    EXPECT_EQ(text, "a\r\n\r\nb");
}

TEST(AppendJoined, KeepsLinesUnchanged) {
    std::string text;
    AppendJoined(text, " x ");
    AppendJoined(text, "\ty\r");
    EXPECT_EQ(text, " x \r\n\ty\r");
}

}  // namespace
