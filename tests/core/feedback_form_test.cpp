#include "online/feedback_form.h"

#include <gtest/gtest.h>

#include <string>

#include "online/feedback_view.h"
#include "resources/string_ids.h"
#include "tests/support/emulated_canonicalizer.h"

namespace {

const EmulatedCanonicalizer kEmulated;

// The three lists' first items, as the dialog selects them when it opens.
FeedbackForm DefaultForm(const std::string& comment) {
    return FeedbackForm{"The program in general", "Not a problem", "At home", "", comment};
}

OsDescription WindowsNt4() { return OsDescription{2, 4, 0, 1381, "Service Pack 6"}; }

TEST(FeedbackBody, AllElevenFieldsInOrder) {
    const FeedbackForm encoded = EncodeFeedbackForm(kEmulated, DefaultForm("x y\r\nz"));
    EXPECT_EQ(FeedbackBody("Vorlix", WindowsNt4(), encoded),
              "app_name=Vorlix&app_version=1.5.2&ostype=Windows NT&version=4.0&build=1381"
              "&additional=Service Pack 6&about=The%20program%20in%20general&problem=Not%20a%20problem"
              "&used=At%20home&email=&comment=x%20y\r\nz");
}

TEST(FeedbackBody, EmptyValuesStillHaveTheirFields) {
    EXPECT_EQ(FeedbackBody("Vorlix", OsDescription{}, FeedbackForm{}),
              "app_name=Vorlix&app_version=1.5.2&ostype=Windows NT&version=0.0&build=0&additional="
              "&about=&problem=&used=&email=&comment=");
}

struct SystemCase {
    OsDescription os;
    std::string fields;  // ostype, version and build as sent
};

class FeedbackBodySystemTest : public ::testing::TestWithParam<SystemCase> {};

TEST_P(FeedbackBodySystemTest, DescribesTheSystem) {
    const std::string body = FeedbackBody("Vorlix", GetParam().os, FeedbackForm{});
    EXPECT_NE(body.find("&ostype=" + GetParam().fields + "&additional="), std::string::npos) << body;
}

INSTANTIATE_TEST_SUITE_P(
    Systems, FeedbackBodySystemTest,
    ::testing::Values(
        // A 9x build number's high word repeats the version: only the low 16 bits go.
        SystemCase{{1, 4, 10, 0x040A08AE, ""}, "Windows 9x&version=4.10&build=2222"},
        SystemCase{{1, 4, 90, 0x045A0BB8, ""}, "Windows 9x&version=4.90&build=3000"},
        SystemCase{{2, 5, 1, 2600, ""}, "Windows NT&version=5.1&build=2600"},
        // On NT the whole number is the build, sent unsigned.
        SystemCase{{2, 10, 0, 0xFFFFFFFF, ""}, "Windows NT&version=10.0&build=4294967295"},
        SystemCase{{0, 3, 11, 0x80000000, ""}, "Windows NT&version=3.11&build=2147483648"}));

TEST(EncodeFeedbackForm, EncodesAllFiveValues) {
    const FeedbackForm encoded =
        EncodeFeedbackForm(kEmulated, FeedbackForm{"A bug", "Annoying", "Both at home and work",
                                                   "me+you@example.com", "100%\r\n@$"});
    EXPECT_EQ(encoded.about, "A%20bug");
    EXPECT_EQ(encoded.problem, "Annoying");
    EXPECT_EQ(encoded.used, "Both%20at%20home%20and%20work");
    EXPECT_EQ(encoded.email, "me%2Byou@example.com");
    EXPECT_EQ(encoded.comment, "100%25\r\n@$");
}

// Counts the texts it is given: an empty comment must send and encode nothing.
class CountingCanonicalizer final : public UrlCanonicalizer {
public:
    bool Canonicalize(const std::string& text, std::string& canonical) const override {
        ++calls;
        return kEmulated.Canonicalize(text, canonical);
    }
    mutable int calls = 0;
};

TEST(SubmitFeedback, AnEmptyCommentClosesTheDialogAndSendsNothing) {
    CountingCanonicalizer canonicalizer;
    const FeedbackSubmission submission = SubmitFeedback(canonicalizer, DefaultForm(""));
    EXPECT_TRUE(submission.close);
    EXPECT_EQ(submission.status.id, 0u);
    EXPECT_EQ(canonicalizer.calls, 0);
}

TEST(SubmitFeedback, ACommentIsEncodedAndConnectingShown) {
    CountingCanonicalizer canonicalizer;
    const FeedbackSubmission submission = SubmitFeedback(canonicalizer, DefaultForm("\r\n"));
    EXPECT_FALSE(submission.close);
    EXPECT_EQ(submission.status.id, unsigned{IDS_STATUS_CONNECTING});
    EXPECT_EQ(submission.encoded.about, "The%20program%20in%20general");
    EXPECT_EQ(submission.encoded.comment, "\r\n");
    EXPECT_GT(canonicalizer.calls, 0);
}

TEST(FeedbackOutcomeView, SentClosesFailuresGiveTheFormBack) {
    const FeedbackView sent = FeedbackOutcomeView(PostResult::Sent);
    EXPECT_TRUE(sent.close);

    const FeedbackView notSent = FeedbackOutcomeView(PostResult::NotSent);
    EXPECT_FALSE(notSent.close);
    EXPECT_EQ(notSent.status.id, unsigned{IDS_STATUS_SERVER_NOT_RESOLVED});
    EXPECT_TRUE(notSent.formEnabled);

    const FeedbackView notWritten = FeedbackOutcomeView(PostResult::NotWritten);
    EXPECT_FALSE(notWritten.close);
    EXPECT_EQ(notWritten.status.id, unsigned{IDS_STATUS_TRANSFER_FAILED});
    EXPECT_TRUE(notWritten.formEnabled);
}

}  // namespace
