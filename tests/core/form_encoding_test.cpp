#include "online/form_encoding.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/canonicalize_cases.h"
#include "tests/support/emulated_canonicalizer.h"

namespace {

// A platform whose canonicalisation refuses everything.
class FailingCanonicalizer final : public UrlCanonicalizer {
public:
    bool Canonicalize(const std::string&, std::string&) const override { return false; }
};

// A platform that answers with a fixed text, whatever it is given.
class FixedCanonicalizer final : public UrlCanonicalizer {
public:
    explicit FixedCanonicalizer(std::string answer) : answer_(std::move(answer)) {}
    bool Canonicalize(const std::string&, std::string& canonical) const override {
        canonical = answer_;
        return true;
    }

private:
    std::string answer_;
};

const EmulatedCanonicalizer kEmulated;

std::string CaseName(const ::testing::TestParamInfo<CanonicalizeCase>& p) { return p.param.name; }

class EmulatedCanonicalizerTest : public ::testing::TestWithParam<CanonicalizeCase> {};

TEST_P(EmulatedCanonicalizerTest, AnswersAsWinINet) {
    std::string canonical;
    ASSERT_TRUE(kEmulated.Canonicalize(GetParam().text, canonical));
    EXPECT_EQ(canonical, GetParam().canonical);
}

INSTANTIATE_TEST_SUITE_P(Texts, EmulatedCanonicalizerTest, ::testing::ValuesIn(PinnedCanonicalizeCases()),
                         CaseName);

class CanonicalizeTableTest : public ::testing::TestWithParam<CanonicalizeCase> {};

TEST_P(CanonicalizeTableTest, FormValue) {
    EXPECT_EQ(EncodeFormValue(kEmulated, GetParam().text), GetParam().encoded);
}

TEST_P(CanonicalizeTableTest, FormValueWithoutTheCanonicalisation) {
    EXPECT_EQ(EncodeFormValue(FailingCanonicalizer(), GetParam().text), GetParam().encoded);
}

INSTANTIATE_TEST_SUITE_P(Texts, CanonicalizeTableTest, ::testing::ValuesIn(kCanonicalizeCases), CaseName);

// Whatever byte the user types, the value decodes to exactly the typed text and carries
// nothing bare that would split or end it on the receiving side.
TEST(EncodeFormValue, EveryByteSurvivesTheForm) {
    const FailingCanonicalizer failing;
    for (const UrlCanonicalizer* canonicalizer : {static_cast<const UrlCanonicalizer*>(&kEmulated),
                                                  static_cast<const UrlCanonicalizer*>(&failing)}) {
        for (int c = 0; c < 256; ++c) {
            for (const std::string& text : {std::string(1, static_cast<char>(c)),
                                            "x" + std::string(1, static_cast<char>(c)) + "y"}) {
                const std::string encoded = EncodeFormValue(*canonicalizer, text);
                std::string decoded;
                ASSERT_TRUE(DecodePercentEscapes(encoded, decoded)) << c;
                EXPECT_EQ(decoded, text) << c;
                EXPECT_EQ(encoded.find_first_of(std::string(" &=+#\r\n\t\0", 10)), std::string::npos) << c;
            }
        }
    }
}

TEST(EncodeFormValue, KeepsEscapesOfAPlatformThatEscapesMore) {
    EXPECT_EQ(EncodeFormValue(FixedCanonicalizer("%7euser%20a&b"), "~user a&b"), "%7euser%20a%26b");
}

TEST(EncodeFormValue, EscapesItselfWhenThePlatformChangesTheText) {
    // A platform that ignores the percent mode leaves "%41" bare, which decodes as "A".
    EXPECT_EQ(EncodeFormValue(FixedCanonicalizer("%41"), "%41"), "%2541");
    EXPECT_EQ(EncodeFormValue(FixedCanonicalizer("ab"), "a b"), "a%20b");
    EXPECT_EQ(EncodeFormValue(FixedCanonicalizer("100%"), "100%"), "100%25");
}

TEST(DecodePercentEscapes, AcceptsOnlyWholeEscapes) {
    std::string decoded;
    EXPECT_TRUE(DecodePercentEscapes("a%20b%2f%2F%e9", decoded));
    EXPECT_EQ(decoded, "a b//\xe9");
    for (const char* broken : {"%", "a%2", "%zz", "%2g", "%%20"}) {
        EXPECT_FALSE(DecodePercentEscapes(broken, decoded)) << broken;
    }
}

struct CommentCase {
    const char* name;
    std::string comment;
    std::string encoded;
};

std::ostream& operator<<(std::ostream& out, const CommentCase& c) { return out << c.name; }

class EncodeFormCommentTest : public ::testing::TestWithParam<CommentCase> {};

TEST_P(EncodeFormCommentTest, KeepsLineBreaksBare) {
    EXPECT_EQ(EncodeFormComment(kEmulated, GetParam().comment), GetParam().encoded);
}

INSTANTIATE_TEST_SUITE_P(
    Comments, EncodeFormCommentTest,
    ::testing::Values(CommentCase{"TwoLines", "x y\r\nz", "x%20y\r\nz"},
                      CommentCase{"TypedMarkerStays", "@$ and\r\n@$", "@$%20and\r\n@$"},
                      CommentCase{"Percent", "100%", "100%25"},
                      CommentCase{"TrailingBreak", "a\r\n", "a\r\n"},
                      CommentCase{"OnlyBreaks", "\r\n\r\n", "\r\n\r\n"},
                      CommentCase{"LoneLineFeed", "a\nb", "a%0Ab"},
                      CommentCase{"LoneCarriageReturn", "a\rb", "a%0Db"},
                      CommentCase{"CarriageReturnBeforeABreak", "a\r\r\nb", "a%0D\r\nb"},
                      CommentCase{"TrailingBlanksOfEachLine", "a \r\n b ", "a%20\r\n%20b%20"},
                      CommentCase{"SeparatorsOnEachLine", "x=1&y=2\r\n#3+4", "x%3D1%26y%3D2\r\n%233%2B4"},
                      CommentCase{"DriveLetterLine", "fine\r\nA: fails", "fine\r\nA:%20fails"},
                      CommentCase{"Empty", "", ""}),
    [](const ::testing::TestParamInfo<CommentCase>& p) { return std::string(p.param.name); });

}  // namespace
