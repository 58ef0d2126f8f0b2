#include "online/fetch_view.h"

#include <gtest/gtest.h>

#include <string>

#include "online/body_lines.h"
#include "resources/string_ids.h"

// The update check and the message dialog from the body the server sends to what they
// show. Every body is written with LF line ends and run again with CR LF.
namespace {

constexpr char kAddr[] = "http://www.quendal-software.example/vorlix/";

struct ViewCase {
    const char* name;
    std::string body;
    bool showLink;
    ControlText status;
    ControlText link;
    std::string linkAddress;
    std::string resultText;
};

std::ostream& operator<<(std::ostream& out, const ViewCase& c) { return out << c.name; }

std::string WithCrLf(const std::string& body) {
    std::string out;
    for (char c : body) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

FetchResult Received(const std::string& body) {
    return FetchResult{FetchStatus::Received, SplitBodyLines(body), 200};
}

void ExpectView(const FetchView& view, const ViewCase& expected) {
    EXPECT_EQ(view.showLink, expected.showLink);
    if (expected.showLink) {
        EXPECT_EQ(view.link.id, expected.link.id);
        EXPECT_EQ(view.link.text, expected.link.text);
        EXPECT_EQ(view.linkAddress, expected.linkAddress);
    } else {
        EXPECT_EQ(view.status.id, expected.status.id);
    }
    EXPECT_TRUE(view.resultEnabled);
    EXPECT_EQ(view.resultText, expected.resultText);
}

std::string Name(const ::testing::TestParamInfo<ViewCase>& info) { return info.param.name; }

const ControlText kNoUpdate{IDS_STATUS_NO_UPDATE, ""};
const ControlText kConnected{IDS_STATUS_CONNECTED, ""};
ControlText Available(const std::string& version) { return {IDS_VERSION_AVAILABLE, version}; }
ControlText Literal(const std::string& text) { return {0, text}; }

class UpdateCheckViewTest : public ::testing::TestWithParam<ViewCase> {};

TEST_P(UpdateCheckViewTest, WithLineFeeds) {
    ExpectView(UpdateCheckView(Received(GetParam().body)), GetParam());
}

TEST_P(UpdateCheckViewTest, WithCarriageReturnLineFeeds) {
    ExpectView(UpdateCheckView(Received(WithCrLf(GetParam().body))), GetParam());
}

const std::string A = kAddr;

INSTANTIATE_TEST_SUITE_P(
    VersionFiles, UpdateCheckViewTest,
    ::testing::Values(
        ViewCase{"Current", A + "\n$VERSION\n1.5.2\nFixed things\n", false, kNoUpdate, {}, "",
                 "1.5.2\r\nFixed things"},
        ViewCase{"Newer", A + "\n$VERSION\n1.6.0\nNew\n$VERSION\n1.5.2\nOld\n", true, {},
                 Available("1.6.0"), A, "1.6.0\r\nNew\r\n1.5.2\r\nOld"},
        ViewCase{"HistoryBeforeTheMarker", A + "\nIntro\n$VERSION\n1.6.0\n", true, {}, Available(""), A,
                 "Intro\r\n1.6.0"},
        ViewCase{"EmptyLineBeforeTheMarker", A + "\n\n$VERSION\n1.6.0\n", true, {}, Available("1.6.0"), A,
                 "1.6.0"},
        ViewCase{"OneLineOnly", A, true, {}, Available(""), A, ""},
        ViewCase{"EmptyBody", "", true, {}, Available(""), "", ""},
        ViewCase{"OlderVersionIsOffered", A + "\n$VERSION\n1.4.0\n", true, {}, Available("1.4.0"), A, "1.4.0"},
        ViewCase{"OnlyEqualityCounts", A + "\n$VERSION\n1.5.2 \n", true, {}, Available("1.5.2 "), A, "1.5.2 "},
        ViewCase{"MarkerOnTheLastLineStandsForNothing", A + "\nText\n$VERSION\n", true, {}, Available(""), A,
                 "Text"},
        ViewCase{"MarkerAloneOnTheLastLine", A + "\n$VERSION", true, {}, Available(""), A, ""},
        ViewCase{"MarkerAfterAMarkerIsTheVersion", A + "\n$VERSION\n$VERSION\nx\n", true, {},
                 Available("$VERSION"), A, "$VERSION\r\nx"},
        ViewCase{"EmptyVersionThenAnotherMarker", A + "\n$VERSION\n\n$VERSION\n1.5.2\n", false, kNoUpdate, {},
                 "", "1.5.2"},
        ViewCase{"ErrorPage", "<html>\n<body>Not found</body>\n</html>\n", true, {}, Available(""), "",
                 "<body>Not found</body>\r\n</html>"},
        ViewCase{"AddressThatIsAProgram", "C:\\Windows\\notepad.exe\n$VERSION\n1.6.0\n", true, {},
                 Available("1.6.0"), "", "1.6.0"}),
    Name);

class MessageViewTest : public ::testing::TestWithParam<ViewCase> {};

TEST_P(MessageViewTest, WithLineFeeds) {
    ExpectView(MessageView(Received(GetParam().body)), GetParam());
}

TEST_P(MessageViewTest, WithCarriageReturnLineFeeds) {
    ExpectView(MessageView(Received(WithCrLf(GetParam().body))), GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    MessageFiles, MessageViewTest,
    ::testing::Values(
        ViewCase{"NoLink", "N/A\n\nHello\nWorld\n", false, kConnected, {}, "", "Hello\r\nWorld"},
        ViewCase{"Link", "Visit us\n" + A + "\nHello\n", true, {}, Literal("Visit us"), A, "Hello"},
        ViewCase{"EmptyBody", "", true, {}, Literal(""), "", ""},
        ViewCase{"NoLinkIsExact", "n/a\n" + A + "\nx\n", true, {}, Literal("n/a"), A, "x"},
        ViewCase{"NoLinkAlone", "N/A", false, kConnected, {}, "", ""},
        ViewCase{"LinkWithoutAddress", "Visit us\n", true, {}, Literal("Visit us"), "", ""},
        ViewCase{"LeadingEmptyMessageLines", "N/A\n" + A + "\n\n\nHello\n\nBye", false, kConnected, {}, "",
                 "Hello\r\n\r\nBye"},
        ViewCase{"MailLink", "Write to us\nmailto:vorlix@quendal-software.example\nx", true, {},
                 Literal("Write to us"), "mailto:vorlix@quendal-software.example", "x"},
        ViewCase{"AddressThatIsAProgram", "Fix it\nC:\\fix.exe\nRun it", true, {}, Literal("Fix it"), "",
                 "Run it"}),
    Name);

struct FailureCase {
    FetchStatus status;
    unsigned statusId;
};

class FailedFetchTest : public ::testing::TestWithParam<FailureCase> {};

TEST_P(FailedFetchTest, NamesTheFailureAndLeavesTheResultDisabled) {
    const FetchResult failed{GetParam().status, {"N/A", "ignored", "lines"}};
    for (const FetchView& view : {UpdateCheckView(failed), MessageView(failed)}) {
        EXPECT_FALSE(view.showLink);
        EXPECT_EQ(view.status.id, GetParam().statusId);
        EXPECT_FALSE(view.resultEnabled);
        EXPECT_EQ(view.resultText, "");
    }
}

class UpdateCheckStatusTest : public ::testing::TestWithParam<unsigned> {};

// The body is a valid version file: only the status tells that it is no answer.
TEST_P(UpdateCheckStatusTest, AnythingButOkIsNoAnswer) {
    FetchResult fetched = Received("http://h/\n$VERSION\n9.9.9\nnew\n");
    fetched.httpStatus = GetParam();
    const FetchView view = UpdateCheckView(fetched);
    EXPECT_FALSE(view.showLink);
    EXPECT_EQ(view.status.id, unsigned{IDS_STATUS_TRANSFER_FAILED});
    EXPECT_FALSE(view.resultEnabled);
    EXPECT_EQ(view.resultText, "");
}

INSTANTIATE_TEST_SUITE_P(Statuses, UpdateCheckStatusTest, ::testing::Values(0u, 201u, 204u, 301u, 304u, 404u, 500u, 503u));

TEST(MessageViewStatus, TheMessageIsShownWhateverTheStatus) {
    FetchResult fetched = Received("N/A\n\nServer says hello\n");
    fetched.httpStatus = 404;
    const FetchView view = MessageView(fetched);
    EXPECT_TRUE(view.resultEnabled);
    EXPECT_EQ(view.resultText, "Server says hello");
}

INSTANTIATE_TEST_SUITE_P(Failures, FailedFetchTest,
                         ::testing::Values(FailureCase{FetchStatus::NotSent, IDS_STATUS_SERVER_NOT_RESOLVED},
                                           FailureCase{FetchStatus::Broken, IDS_STATUS_TRANSFER_FAILED}));

}  // namespace
