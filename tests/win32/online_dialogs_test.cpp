// The three online dialogs on their real templates, driven by a timer while they run
// modally, against the test server of scripts/with-online-dialog-server (which chooses
// what the version and message files say, or answers slowly) or, for the unreachable
// cases, the empty proxy of scripts/with-http-server --unreachable. Elsewhere they skip.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <functional>
#include <ostream>
#include <string>

#include "online/feedback_dialog_win32.h"
#include "online/fetch_text_file_win32.h"
#include "online/message_dialog_win32.h"
#include "online/online_workers_win32.h"
#include "online/update_check_dialog_win32.h"
#include "online/wininet_api_win32.h"
#include "platform/application_title_win32.h"
#include "resources/online_dialog_ids.h"
#include "tests/support/temp_dir.h"
#include "tests/win32/dialog_test_support.h"
#include "ui/item_text_win32.h"

namespace {

const char kConnecting[] = "Connecting to server...";
const char kNotResolved[] = "The server name or address could not be resolved";
const char kComment[] = "x y\r\nz";

std::function<void()>& Tick() {
    static std::function<void()> tick;
    return tick;
}

void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD) {
    if (Tick()) Tick()();
}

// Runs the dialog modally; every 50 ms, once it shows, `step` looks at it (and may act
// on it). When `step` says it is done, the dialog is closed as Escape closes it.
int RunDriven(CDialog& dialog, const std::function<bool(HWND)>& step) {
    bool closing = false;
    Tick() = [&] {
        HWND window = dialog.Handle();
        if (closing || window == NULL || !IsWindowVisible(window)) return;
        if (step(window)) {
            closing = true;
            PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        }
    };
    const UINT_PTR timer = SetTimer(NULL, 0, 50, &OnTick);
    int result = -1;
    {
        ModalWatchdog watchdog(20000);
        result = dialog.DoModal();
    }
    KillTimer(NULL, timer);
    Tick() = nullptr;
    return result;
}

bool Visible(HWND dialog, int id) { return IsWindowVisible(GetDlgItem(dialog, id)) != FALSE; }
bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

// What a fetch dialog shows.
struct FetchState {
    bool statusVisible = false;
    std::string status;
    bool linkVisible = false;
    std::string link;
    std::string address;
    bool resultEnabled = false;
    std::string result;
};

FetchState Snapshot(const FetchDialog& dialog, int resultId) {
    HWND window = dialog.Handle();
    FetchState state;
    state.statusVisible = Visible(window, IDC_ONLINE_STATUS);
    state.status = ItemText(window, IDC_ONLINE_STATUS);
    state.linkVisible = Visible(window, IDC_ONLINE_LINK);
    state.link = ItemText(window, IDC_ONLINE_LINK);
    state.address = dialog.Link().URL();
    state.resultEnabled = Enabled(window, resultId);
    state.result = ItemText(window, resultId);
    return state;
}

bool Answered(HWND dialog) {
    return Visible(dialog, IDC_ONLINE_LINK) || ItemText(dialog, IDC_ONLINE_STATUS) != kConnecting;
}

// Runs a fetch dialog until its worker has answered; what it showed then.
FetchState RunUntilAnswered(FetchDialog& dialog, int resultId) {
    FetchState state;
    RunDriven(dialog, [&](HWND window) {
        if (!Answered(window)) return false;
        state = Snapshot(dialog, resultId);
        return true;
    });
    return state;
}

void ClickSubmit(HWND dialog) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_FEEDBACK_SUBMIT, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_FEEDBACK_SUBMIT)));
}

bool FormEnabled(HWND dialog) {
    for (int id : {IDC_FEEDBACK_SUBMIT, IDC_FEEDBACK_ABOUT, IDC_FEEDBACK_PROBLEM, IDC_FEEDBACK_USED,
                   IDC_FEEDBACK_EMAIL, IDC_FEEDBACK_COMMENT}) {
        if (!Enabled(dialog, id)) return false;
    }
    return true;
}

bool FormDisabled(HWND dialog) {
    for (int id : {IDC_FEEDBACK_SUBMIT, IDC_FEEDBACK_ABOUT, IDC_FEEDBACK_PROBLEM, IDC_FEEDBACK_USED,
                   IDC_FEEDBACK_EMAIL, IDC_FEEDBACK_COMMENT}) {
        if (Enabled(dialog, id)) return false;
    }
    return true;
}

bool ResultWaiting() {
    MSG message;
    return PeekMessageA(&message, NULL, WM_ONLINE_RESULT, WM_ONLINE_RESULT, PM_REMOVE) != FALSE;
}

// ---------------------------------------------------------------------------------------
// Against the dialog test server

class OnlineDialogTest : public testing::Test {
protected:
    void SetUp() override {
        InitCommonControls();
        const char* log = getenv("VORLIX_TEST_HTTP_LOG");
        if (log == nullptr || getenv("VORLIX_TEST_DIALOG_SERVER") == nullptr) {
            GTEST_SKIP() << "no dialog test server; run through scripts/with-online-dialog-server";
        }
        log_ = std::string("Z:") + log;
        ASSERT_TRUE(TheWinInet().Bind());
        links_ = LiveDialogLinks();
    }

    // What the version and message files say from now on.
    void Serve(const std::string& variant) {
        ASSERT_EQ(FetchTextFile(("/control/serve/" + variant).c_str()).status, FetchStatus::Received);
    }

    // Requests the server has had for its files and its form (control requests left out).
    size_t RequestCount() const {
        const std::string path = log_ + "/requests";
        if (!FileExists(path)) return 0;
        const std::string lines = ReadWholeFile(path);
        size_t count = 0;
        for (char c : lines) count += c == '\n';
        return count;
    }

    std::string PostedBody() const { return ReadWholeFile(log_ + "/last-post-body"); }

    // A worker left behind by a closed dialog ends without reaching it.
    void ExpectWorkerEndedAlone(const OnlineChannel& channel) {
        EXPECT_TRUE(channel.WaitForWorker(15000));
        Sleep(100);
        EXPECT_FALSE(ResultWaiting());
        EXPECT_EQ(LiveDialogLinks(), links_);
    }

    std::string log_;
    long links_ = 0;
};

struct FetchCase {
    const char* name;
    bool update;          // the update check, else the message dialog
    const char* variant;  // what the server's files say
    FetchState expected;
};

const FetchCase kFetchCases[] = {
    {"UpdateCurrent", true, "current",
     {true, "No update is available", false, "Connecting to server...", "", true, "1.5.2\r\nFixed things"}},
    {"UpdateOffered", true, "standard",
     {false, "Connecting to server...", true, "Version 1.6.0 is available",
      "http://www.quendal-software.example/vorlix/", true,
      "1.6.0\r\nReads 2.88 MB disks\r\n1.5.2\r\nFirst release"}},
    {"MessageWithoutLink", false, "current",
     {true, "Connection established", false, "Connecting to server...", "", true, "Hello\r\nWorld"}},
    {"MessageWithLink", false, "standard",
     {false, "Connecting to server...", true, "Visit us", "http://www.quendal-software.example/", true,
      "Hello\r\n\r\nWorld"}},
};

void PrintTo(const FetchCase& c, std::ostream* out) { *out << c.name; }

class OnlineDialogFetchTest : public OnlineDialogTest, public testing::WithParamInterface<FetchCase> {};

TEST_P(OnlineDialogFetchTest, ShowsTheServersAnswer) {
    const FetchCase& c = GetParam();
    Serve(c.variant);
    UpdateCheckDialog update;
    MessageDialog message;
    FetchDialog& dialog = c.update ? static_cast<FetchDialog&>(update) : message;
    const FetchState state = RunUntilAnswered(dialog, c.update ? IDC_UPDATE_HISTORY : IDC_MESSAGE_TEXT);
    const FetchState& e = c.expected;
    EXPECT_EQ(state.statusVisible, e.statusVisible);
    EXPECT_EQ(state.status, e.status);
    EXPECT_EQ(state.linkVisible, e.linkVisible);
    EXPECT_EQ(state.link, e.link);
    if (e.linkVisible) {
        EXPECT_EQ(state.address, e.address);  // a hidden link's target is never looked at
    }
    EXPECT_EQ(state.resultEnabled, e.resultEnabled);
    EXPECT_EQ(state.result, e.result);
    ExpectWorkerEndedAlone(dialog.Channel());
}

INSTANTIATE_TEST_SUITE_P(Outcomes, OnlineDialogFetchTest, testing::ValuesIn(kFetchCases),
                         [](const testing::TestParamInfo<FetchCase>& param) { return param.param.name; });

TEST_F(OnlineDialogTest, ClosingWhileTheServerIsSlowLeavesTheWorkerAlone) {
    Serve("slow");
    UpdateCheckDialog update;
    MessageDialog message;
    for (FetchDialog* dialog : {static_cast<FetchDialog*>(&update), static_cast<FetchDialog*>(&message)}) {
        const size_t before = RequestCount();
        bool wasConnecting = false;
        RunDriven(*dialog, [&](HWND window) {
            wasConnecting = ItemText(window, IDC_ONLINE_STATUS) == kConnecting &&
                            !Visible(window, IDC_ONLINE_LINK);
            return true;
        });
        EXPECT_TRUE(wasConnecting) << dialog->ClassName();
        ExpectWorkerEndedAlone(dialog->Channel());
        EXPECT_EQ(RequestCount(), before + 1) << dialog->ClassName();
    }
    Serve("standard");
}

TEST_F(OnlineDialogTest, SubmitPostsTheFormAndCloses) {
    Serve("standard");
    FeedbackDialog dialog;
    bool submitted = false, connecting = false, disabled = false;
    const int result = RunDriven(dialog, [&](HWND window) {
        if (submitted) return false;  // the dialog closes itself once the form is sent
        SetItemText(window, IDC_FEEDBACK_EMAIL, "me@example.org");
        SetItemText(window, IDC_FEEDBACK_COMMENT, kComment);
        ClickSubmit(window);
        submitted = true;
        connecting = ItemText(window, IDC_ONLINE_STATUS) == kConnecting;
        disabled = FormDisabled(window);
        return false;
    });
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(connecting);
    EXPECT_TRUE(disabled);
    const FeedbackForm encoded{"The%20program%20in%20general", "Not%20a%20problem", "At%20home",
                               "me@example.org", "x%20y\r\nz"};
    EXPECT_EQ(PostedBody(), FeedbackBody(ApplicationTitle().Text(), ReadOsDescription(), encoded));
    ExpectWorkerEndedAlone(dialog.Channel());
}

TEST_F(OnlineDialogTest, AnEmptyCommentClosesTheFormWithoutARequest) {
    Serve("standard");
    const size_t before = RequestCount();
    FeedbackDialog dialog;
    bool submitted = false;
    const int result = RunDriven(dialog, [&](HWND window) {
        if (!submitted) {
            SetItemText(window, IDC_FEEDBACK_EMAIL, "me@example.org");
            ClickSubmit(window);
            submitted = true;
        }
        return false;
    });
    EXPECT_EQ(result, 0);
    Sleep(300);
    EXPECT_EQ(RequestCount(), before);
    EXPECT_EQ(LiveDialogLinks(), links_);
}

TEST_F(OnlineDialogTest, CancelWhileTheFormIsSentLeavesTheWorkerAlone) {
    Serve("slow");
    const size_t before = RequestCount();
    FeedbackDialog dialog;
    bool submitted = false;
    const int result = RunDriven(dialog, [&](HWND window) {
        if (submitted) return true;
        SetItemText(window, IDC_FEEDBACK_COMMENT, "slow");
        ClickSubmit(window);
        submitted = true;
        return false;
    });
    EXPECT_EQ(result, IDCANCEL);
    ExpectWorkerEndedAlone(dialog.Channel());
    EXPECT_EQ(RequestCount(), before + 1);
    EXPECT_NE(PostedBody().find("&comment=slow"), std::string::npos);
    Serve("standard");
}

// ---------------------------------------------------------------------------------------
// With nothing behind the proxy

class OnlineDialogUnreachableTest : public testing::Test {
protected:
    void SetUp() override {
        InitCommonControls();
        if (getenv("VORLIX_TEST_HTTP_UNREACHABLE") == nullptr) {
            GTEST_SKIP() << "run through scripts/with-http-server --unreachable";
        }
    }
};

TEST_F(OnlineDialogUnreachableTest, FetchDialogsSayTheServerWasNotFound) {
    UpdateCheckDialog update;
    MessageDialog message;
    const struct {
        FetchDialog* dialog;
        int resultId;
    } dialogs[] = {{&update, IDC_UPDATE_HISTORY}, {&message, IDC_MESSAGE_TEXT}};
    for (const auto& d : dialogs) {
        const FetchState state = RunUntilAnswered(*d.dialog, d.resultId);
        EXPECT_TRUE(state.statusVisible) << d.dialog->ClassName();
        EXPECT_EQ(state.status, kNotResolved) << d.dialog->ClassName();
        EXPECT_FALSE(state.linkVisible) << d.dialog->ClassName();
        EXPECT_FALSE(state.resultEnabled) << d.dialog->ClassName();
        EXPECT_EQ(state.result, "") << d.dialog->ClassName();
    }
}

TEST_F(OnlineDialogUnreachableTest, FeedbackGivesTheFormBackAsTyped) {
    FeedbackDialog dialog;
    bool submitted = false;
    std::string status, comment;
    bool enabled = false;
    RunDriven(dialog, [&](HWND window) {
        if (!submitted) {
            SetItemText(window, IDC_FEEDBACK_COMMENT, kComment);
            ClickSubmit(window);
            submitted = true;
            return false;
        }
        status = ItemText(window, IDC_ONLINE_STATUS);
        if (status == kConnecting) return false;
        comment = ItemText(window, IDC_FEEDBACK_COMMENT);
        enabled = FormEnabled(window);
        return true;
    });
    EXPECT_EQ(status, kNotResolved);
    EXPECT_EQ(comment, kComment);
    EXPECT_TRUE(enabled);
}

}  // namespace
