// The two HTTP transports against our test server (scripts/with-http-server), which
// WinINet reaches as the maker's host through the proxy of the http_proxy variable.
// Run outside that wrapper, these tests skip.
#include "online/fetch_text_file_win32.h"
#include "online/post_feedback_win32.h"

#include <gtest/gtest.h>

#include <stdlib.h>

#include <string>
#include <vector>

#include "online/feedback_form.h"
#include "online/fetch_view.h"
#include "online/online_channel_win32.h"
#include "online/online_workers_win32.h"
#include "online/server_paths.h"
#include "online/wininet_api_win32.h"
#include "online/wininet_canonicalizer_win32.h"
#include "resources/string_ids.h"
#include "tests/support/temp_dir.h"

namespace {

const std::vector<std::string> kTestLines = {"first", "", "third line", "$VERSION", "N/A", "1.5.2", "last"};

class OnlineTransportTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* log = getenv("VORLIX_TEST_HTTP_LOG");
        if (log == nullptr) GTEST_SKIP() << "no test server; run through scripts/with-http-server";
        log_ = std::string("Z:") + log;
        ASSERT_TRUE(TheWinInet().Bind());
    }

    // What the server recorded of the last request of a kind ("get", "post",
    // "dropped-post"): its request "line", "headers" or "body".
    std::string Recorded(const std::string& kind, const std::string& part) const {
        return ReadWholeFile(log_ + "/last-" + kind + "-" + part);
    }

    std::string log_;
};

TEST_F(OnlineTransportTest, FetchesTheVersionFile) {
    const FetchResult fetched = FetchTextFile(kVersionFilePath);
    ASSERT_EQ(fetched.status, FetchStatus::Received);
    EXPECT_EQ(fetched.httpStatus, 200u);
    const FetchView view = UpdateCheckView(fetched);
    EXPECT_TRUE(view.showLink);
    EXPECT_EQ(view.link, (ControlText{IDS_VERSION_AVAILABLE, "1.6.0"}));
    EXPECT_EQ(view.linkAddress, "http://www.quendal-software.example/vorlix/");
    EXPECT_EQ(view.resultText, "1.6.0\r\nReads 2.88 MB disks\r\n1.5.2\r\nFirst release");

    EXPECT_EQ(Recorded("get", "line"),
              "GET http://www.quendal-software.example:80/software/vorlix/index.txt HTTP/1.1");
    const std::string headers = Recorded("get", "headers");
    EXPECT_NE(headers.find("\r\nUser-Agent: Vorlix\r\n"), std::string::npos) << headers;
    EXPECT_NE(headers.find("\r\nHost: www.quendal-software.example\r\n"), std::string::npos) << headers;
}

TEST_F(OnlineTransportTest, FetchesTheMessageFile) {
    const FetchView view = MessageView(FetchTextFile(kMessageFilePath));
    EXPECT_TRUE(view.showLink);
    EXPECT_EQ(view.link, (ControlText{0, "Visit us"}));
    EXPECT_EQ(view.linkAddress, "http://www.quendal-software.example/");
    EXPECT_EQ(view.resultText, "Hello\r\n\r\nWorld");
}

TEST_F(OnlineTransportTest, CrLfAndLfFilesGiveTheSameLines) {
    for (const char* path : {"/test/lf.txt", "/test/crlf.txt"}) {
        const FetchResult fetched = FetchTextFile(path);
        EXPECT_EQ(fetched.status, FetchStatus::Received) << path;
        EXPECT_EQ(fetched.lines, kTestLines) << path;
    }
}

TEST_F(OnlineTransportTest, BodyEdges) {
    const FetchResult unended = FetchTextFile("/test/no-final-line-end.txt");
    EXPECT_EQ(unended.status, FetchStatus::Received);
    EXPECT_EQ(unended.lines, (std::vector<std::string>{"one", "two"}));

    const FetchResult empty = FetchTextFile("/test/empty.txt");
    EXPECT_EQ(empty.status, FetchStatus::Received);
    EXPECT_TRUE(empty.lines.empty());
}

TEST_F(OnlineTransportTest, AnErrorPageIsReadAsTheFile) {
    const FetchResult fetched = FetchTextFile("/software/vorlix/missing.txt");
    EXPECT_EQ(fetched.status, FetchStatus::Received);
    EXPECT_EQ(fetched.lines, (std::vector<std::string>{"<html>", "<body>Not found</body>", "</html>"}));
    EXPECT_EQ(fetched.httpStatus, 404u);
    EXPECT_EQ(UpdateCheckView(fetched).status.id, unsigned{IDS_STATUS_TRANSFER_FAILED});
}

TEST_F(OnlineTransportTest, ALargeFileComesWhole) {
    const FetchResult fetched = FetchTextFile("/test/large.txt");
    ASSERT_EQ(fetched.status, FetchStatus::Received);
    ASSERT_EQ(fetched.lines.size(), 20000u);
    char expected[16];
    for (size_t i = 0; i < fetched.lines.size(); ++i) {
        wsprintfA(expected, "line %05d", static_cast<int>(i));
        ASSERT_EQ(fetched.lines[i], expected) << i;
    }
}

TEST_F(OnlineTransportTest, ABodyFarTooLargeIsNotKept) {
    EXPECT_EQ(FetchTextFile("/test/too-large.txt").status, FetchStatus::Broken);
}

TEST_F(OnlineTransportTest, AConnectionCutInTheBodyIsBroken) {
    const FetchResult fetched = FetchTextFile("/test/cut.txt");
    EXPECT_EQ(fetched.status, FetchStatus::Broken);
    EXPECT_TRUE(fetched.lines.empty());
}

TEST_F(OnlineTransportTest, TheFormArrivesByteForByte) {
    const FeedbackForm typed{"A bug", "Intolerable", "At work", "me+you@example.com",
                             "Line one & two = 100%\r\ncaf\xe9 @$ #3\r\n"};
    const FeedbackForm encoded = EncodeFeedbackForm(WinInetCanonicalizer(), typed);
    const OsDescription os{2, 5, 1, 2600, "Service Pack 3"};
    const std::string body = FeedbackBody("Vorlix", os, encoded);
    EXPECT_EQ(body,
              "app_name=Vorlix&app_version=1.5.2&ostype=Windows NT&version=5.1&build=2600"
              "&additional=Service Pack 3&about=A%20bug&problem=Intolerable&used=At%20work"
              "&email=me%2Byou@example.com&comment=Line%20one%20%26%20two%20%3D%20100%25\r\n"
              "caf%E9%20@$%20%233\r\n");

    EXPECT_EQ(PostFeedback(body), PostResult::Sent);
    EXPECT_EQ(Recorded("post", "body"), body);
    EXPECT_EQ(Recorded("post", "line"),
              "POST http://www.quendal-software.example:80/cgi-bin/sw_feedback/? HTTP/1.1");
    const std::string headers = Recorded("post", "headers");
    const std::vector<std::string> expectedHeaders = {
        "Content-Type: application/x-www-form-urlencoded", "Content-Length: " + std::to_string(body.size()),
        "User-Agent: Vorlix", "Host: www.quendal-software.example"};
    for (const std::string& header : expectedHeaders) {
        EXPECT_NE(headers.find("\r\n" + header + "\r\n"), std::string::npos) << header << "\n" << headers;
    }
    EXPECT_EQ(headers.find("Content-Type:"), headers.rfind("Content-Type:")) << headers;
}

// The server resets the connection as soon as it has the headers. Whether the reset
// meets the write or only the wait for the answer is a race; either way the form did
// not get through. (A body of megabytes would make the write itself fail every time,
// but Wine's WinINet can then hang in the write.)
TEST_F(OnlineTransportTest, AnUploadCutAfterTheHeadersIsNotWritten) {
    ASSERT_EQ(FetchTextFile("/control/drop-next-post").status, FetchStatus::Received);
    const std::string body = FeedbackBody("Vorlix", OsDescription{}, FeedbackForm{"a", "b", "c", "", "text"});
    EXPECT_EQ(PostFeedback(body), PostResult::NotWritten);
    EXPECT_NE(Recorded("dropped-post", "line").find("POST "), std::string::npos);
}

// The server takes the whole body, then resets the connection without an answer: the
// write succeeded, yet the form may never have been processed.
TEST_F(OnlineTransportTest, AnUploadNeverAnsweredIsNotWritten) {
    ASSERT_EQ(FetchTextFile("/control/drop-next-post-after-body").status, FetchStatus::Received);
    const std::string body = FeedbackBody("Vorlix", OsDescription{}, FeedbackForm{"a", "b", "c", "", "text"});
    EXPECT_EQ(PostFeedback(body), PostResult::NotWritten);
    EXPECT_EQ(Recorded("dropped-post", "body"), body);
}

// Waits, bounded, for the worker's notice to the window, and takes the result.
bool AwaitResult(HWND window, OnlineChannel& channel, OnlineResult& result) {
    const DWORD start = GetTickCount();
    MSG message;
    while (!PeekMessageA(&message, window, WM_ONLINE_RESULT, WM_ONLINE_RESULT, PM_REMOVE)) {
        if (GetTickCount() - start > 30000) return false;
        Sleep(10);
    }
    return channel.Take(result);
}

TEST_F(OnlineTransportTest, WorkersBringTheirResultsToTheDialog) {
    // A message-only window stands in for the dialog.
    const HWND window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, NULL, NULL);
    ASSERT_NE(window, HWND(NULL));
    OnlineChannel channel;
    channel.Open(window);

    OnlineResult fetched;
    ASSERT_TRUE(StartFetch(channel, kMessageFilePath));
    ASSERT_TRUE(AwaitResult(window, channel, fetched));
    EXPECT_EQ(MessageView(fetched.fetch).link, (ControlText{0, "Visit us"}));

    OnlineResult posted;
    ASSERT_TRUE(StartFeedbackPost(channel, FeedbackForm{"A%20bug", "", "", "", "x"}));
    ASSERT_TRUE(AwaitResult(window, channel, posted));
    EXPECT_EQ(posted.post, PostResult::Sent);
    // The worker describes the system it runs on; Wine poses as an NT system.
    const OsDescription os = ReadOsDescription();
    EXPECT_EQ(os.platformId, 2u);
    EXPECT_EQ(Recorded("post", "body"), FeedbackBody("Vorlix", os, FeedbackForm{"A%20bug", "", "", "", "x"}));

    channel.Close();
    DestroyWindow(window);
}

class OnlineUnreachableTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (getenv("VORLIX_TEST_HTTP_UNREACHABLE") == nullptr) {
            GTEST_SKIP() << "run through scripts/with-http-server --unreachable";
        }
        ASSERT_TRUE(TheWinInet().Bind());
    }
};

TEST_F(OnlineUnreachableTest, AFetchIsNotSent) {
    const FetchResult fetched = FetchTextFile(kVersionFilePath);
    EXPECT_EQ(fetched.status, FetchStatus::NotSent);
    EXPECT_TRUE(fetched.lines.empty());
    EXPECT_EQ(MessageView(fetched).status.id, unsigned{IDS_STATUS_SERVER_NOT_RESOLVED});
}

TEST_F(OnlineUnreachableTest, APostIsNotSent) {
    EXPECT_EQ(PostFeedback("app_name=Vorlix"), PostResult::NotSent);
}

}  // namespace
