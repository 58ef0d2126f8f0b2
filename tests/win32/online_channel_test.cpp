// The way an online worker reaches its dialog: only while that very dialog is open,
// never a closed one, nor a new dialog that opened meanwhile; and nothing leaks.
#include "online/online_channel_win32.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr DWORD kWorkerWait = 10000;

// A message-only window stands in for the dialog: posted notices queue on this thread.
class FakeDialog {
public:
    FakeDialog()
        : window_(CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, NULL, NULL)) {}
    ~FakeDialog() { Destroy(); }
    FakeDialog(const FakeDialog&) = delete;
    FakeDialog& operator=(const FakeDialog&) = delete;

    HWND Handle() const { return window_; }
    void Destroy() {
        if (window_ != NULL) DestroyWindow(window_);
        window_ = NULL;
    }

private:
    HWND window_;
};

// Removes and counts the result notices queued for this thread, for any window.
int TakeNotices() {
    int count = 0;
    MSG message;
    while (PeekMessageA(&message, NULL, WM_ONLINE_RESULT, WM_ONLINE_RESULT, PM_REMOVE)) ++count;
    return count;
}

OnlineResult Lines(std::vector<std::string> lines) {
    OnlineResult result;
    result.fetch = FetchResult{FetchStatus::Received, std::move(lines)};
    return result;
}

class Event {
public:
    Event() : handle_(CreateEventA(NULL, TRUE, FALSE, NULL)) {}
    ~Event() { CloseHandle(handle_); }
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;
    void Set() const { SetEvent(handle_); }
    bool Wait() const { return WaitForSingleObject(handle_, kWorkerWait) == WAIT_OBJECT_0; }

private:
    HANDLE handle_;
};

class OnlineChannelTest : public ::testing::Test {
protected:
    void SetUp() override {
        TakeNotices();
        baseline_ = LiveDialogLinks();
    }
    long baseline_ = 0;
};

TEST_F(OnlineChannelTest, TheResultReachesTheOpenDialog) {
    FakeDialog dialog;
    ASSERT_NE(dialog.Handle(), HWND(NULL));
    OnlineChannel channel;
    channel.Open(dialog.Handle());
    ASSERT_TRUE(channel.Start([] { return Lines({"a", "b"}); }));
    ASSERT_TRUE(channel.WaitForWorker(kWorkerWait));

    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, dialog.Handle(), WM_ONLINE_RESULT, WM_ONLINE_RESULT, PM_REMOVE));
    OnlineResult result;
    ASSERT_TRUE(channel.Take(result));
    EXPECT_EQ(result.fetch.lines, (std::vector<std::string>{"a", "b"}));
    EXPECT_FALSE(channel.Take(result));
    EXPECT_EQ(TakeNotices(), 0);
}

TEST_F(OnlineChannelTest, AClosedDialogIsNotReachedNorTheNextOne) {
    Event release;
    OnlineChannel first;
    FakeDialog firstDialog;
    first.Open(firstDialog.Handle());
    ASSERT_TRUE(first.Start([&release] {
        release.Wait();
        return Lines({"late"});
    }));
    EXPECT_EQ(LiveDialogLinks(), baseline_ + 1);

    // The user closes the dialog while the transfer runs, and opens it again.
    first.Close();
    firstDialog.Destroy();
    FakeDialog secondDialog;
    OnlineChannel second;
    second.Open(secondDialog.Handle());
    EXPECT_EQ(LiveDialogLinks(), baseline_ + 2);  // the worker still holds the first link

    release.Set();
    ASSERT_TRUE(first.WaitForWorker(kWorkerWait));
    EXPECT_EQ(TakeNotices(), 0);
    OnlineResult result;
    EXPECT_FALSE(second.Take(result));
    EXPECT_FALSE(first.Take(result));
    // The first link went with its worker, the late result with it.
    EXPECT_EQ(LiveDialogLinks(), baseline_ + 1);
    second.Close();
    EXPECT_EQ(LiveDialogLinks(), baseline_);
}

TEST_F(OnlineChannelTest, AResultNotTakenBeforeTheCloseIsFreed) {
    {
        FakeDialog dialog;
        OnlineChannel channel;
        channel.Open(dialog.Handle());
        ASSERT_TRUE(channel.Start([] { return Lines(std::vector<std::string>(1000, "unread")); }));
        ASSERT_TRUE(channel.WaitForWorker(kWorkerWait));
    }
    EXPECT_EQ(LiveDialogLinks(), baseline_);
    TakeNotices();
}

TEST_F(OnlineChannelTest, NothingStartsWithoutAnOpenDialog) {
    OnlineChannel channel;
    bool ran = false;
    EXPECT_FALSE(channel.Start([&ran] {
        ran = true;
        return OnlineResult{};
    }));
    FakeDialog dialog;
    channel.Open(dialog.Handle());
    channel.Close();
    EXPECT_FALSE(channel.Start([&ran] {
        ran = true;
        return OnlineResult{};
    }));
    EXPECT_FALSE(ran);
    EXPECT_EQ(LiveDialogLinks(), baseline_);
}

// Closing races the workers' deliveries; whatever the order, each result reaches its own
// open dialog or nobody, and every link is gone at the end.
TEST_F(OnlineChannelTest, ClosingWhileWorkersDeliver) {
    constexpr int kRounds = 60;
    int delivered = 0;
    for (int round = 0; round < kRounds; ++round) {
        FakeDialog dialog;
        OnlineChannel channel;
        channel.Open(dialog.Handle());
        ASSERT_TRUE(channel.Start([round] { return Lines({std::to_string(round)}); }));
        if (round % 3 == 0) Sleep(1);
        if (round % 2 == 0) {
            channel.Close();
            dialog.Destroy();
        }
        ASSERT_TRUE(channel.WaitForWorker(kWorkerWait));
        OnlineResult result;
        if (channel.Take(result)) {
            EXPECT_EQ(result.fetch.lines, std::vector<std::string>{std::to_string(round)});
            ++delivered;
        }
        TakeNotices();
    }
    EXPECT_EQ(delivered, kRounds / 2);
    EXPECT_EQ(LiveDialogLinks(), baseline_);
}

}  // namespace
