#include "app/instance_checker_win32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/message_box_content_win32.h"
#include "tests/support/temp_dir.h"
#include "tests/win32/instance_probe.h"

namespace {

// Names private to one test, so that no test meets another's instance.
std::string UniqueTag() {
    static unsigned counter = 0;
    return std::to_string(GetCurrentProcessId()) + "_" + std::to_string(GetTickCount()) + "_" +
           std::to_string(++counter);
}

std::string Number(HWND window) {
    return std::to_string(reinterpret_cast<uintptr_t>(window));
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}


std::string ProbePath() {
    char path[MAX_PATH];
    std::string self(path, GetModuleFileNameA(NULL, path, MAX_PATH));
    return self.substr(0, self.find_last_of("\\/") + 1) + "instance_probe.exe";
}

// One start of instance_probe.exe. It is ended, by its process handle, when the test
// is done with it, whatever state it is in.
class Probe {
public:
    Probe(const std::string& log, const std::string& tag, const std::string& gate,
          const std::vector<std::string>& words)
        : log_(log) {
        std::string commandLine = "\"" + ProbePath() + "\" \"" + log + "\" " + tag + " " + gate;
        for (const std::string& word : words) commandLine += " \"" + word + "\"";
        std::vector<char> buffer(commandLine.begin(), commandLine.end());
        buffer.push_back('\0');
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION started = {};
        if (CreateProcessA(NULL, buffer.data(), NULL, NULL, FALSE, 0, NULL, NULL, &startup,
                           &started)) {
            process_.Reset(started.hProcess);
            CloseHandle(started.hThread);
        }
        EXPECT_TRUE(process_.Valid()) << "cannot start " << commandLine;
    }

    ~Probe() {
        if (process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_.Get(), 99);
            WaitForSingleObject(process_.Get(), 10000);
        }
    }

    Probe(const Probe&) = delete;
    Probe& operator=(const Probe&) = delete;

    bool WaitExit(DWORD ms) const {
        return process_ && WaitForSingleObject(process_.Get(), ms) == WAIT_OBJECT_0;
    }

    DWORD ExitCode() const {
        DWORD code = 0;
        GetExitCodeProcess(process_.Get(), &code);
        return code;
    }

    std::vector<std::string> Log() const { return Lines(ReadWholeFile(log_)); }

    bool WaitForLine(const std::string& prefix, DWORD ms = 30000) const {
        return WaitUntil([&] { return !LinesStartingWith(prefix).empty(); }, ms);
    }

    std::vector<std::string> LinesStartingWith(const std::string& prefix) const {
        std::vector<std::string> found;
        for (const std::string& line : Log()) {
            if (StartsWith(line, prefix)) found.push_back(line);
        }
        return found;
    }

    // The window this probe published, once it says so.
    HWND PublishedWindow() const {
        if (!WaitForLine("published ")) return NULL;
        std::string number = LinesStartingWith("published ").front().substr(10);
        return reinterpret_cast<HWND>(static_cast<uintptr_t>(std::stoul(number)));
    }

private:
    std::string log_;
    UniqueHandle process_;
};

class InstanceChecker : public testing::Test {
protected:
    std::unique_ptr<Probe> Start(const std::string& name, std::vector<std::string> words = {}) {
        return std::make_unique<Probe>(dir_.File(name + ".log"), tag_, "-", words);
    }

    TempDir dir_;
    std::string tag_ = UniqueTag();
};

TEST_F(InstanceChecker, SecondStartHandsOverAndEndsOnlyAfterTheReceiverHandledIt) {
    auto first = Start("first");
    HWND window = first->PublishedWindow();
    ASSERT_NE(window, nullptr);

    auto second = Start("second", {"C:\\disks\\boot.imz"});
    ASSERT_TRUE(second->WaitExit(30000));
    EXPECT_EQ(second->ExitCode(), 0u);
    EXPECT_EQ(second->Log(), std::vector<std::string>{"handed-over " + Number(window)});
    // Read at once: the receiver takes its time over the block, so only a sender that
    // waited for it finds the text already there.
    EXPECT_EQ(first->Log(), (std::vector<std::string>{"published " + Number(window),
                                                      "received C:\\disks\\boot.imz"}));
}

TEST_F(InstanceChecker, SecondStartHandsOverTheImageOfItsCommandLine) {
    struct Row {
        std::vector<std::string> words;
        const char* received;  // nullptr: the instance is only activated
    };
    const Row rows[] = {
        {{}, nullptr},
        {{"a.img"}, "received a.img"},
        {{"notes.txt"}, "received notes.txt"},  // refusing it is the receiver's part
        {{"/W", "C:\\x.imz"}, "received C:\\x.imz"},
        {{"/f", "/s", "/w", "b.img", "/d", "text"}, "received b.img"},
        {{"/r", "c.imz"}, nullptr},
        {{"/f", "/s"}, nullptr},
    };
    auto first = Start("first");
    ASSERT_NE(first->PublishedWindow(), nullptr);

    int n = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.words));
        size_t before = first->Log().size();
        auto second = Start("second" + std::to_string(++n), row.words);
        ASSERT_TRUE(second->WaitExit(30000));
        const std::vector<std::string> log = first->Log();
        ASSERT_GE(log.size(), before);
        std::vector<std::string> added(log.begin() + before, log.end());
        EXPECT_EQ(added, row.received ? std::vector<std::string>{row.received}
                                      : std::vector<std::string>{});
    }
}

TEST_F(InstanceChecker, SecondStartRestoresAMinimisedInstance) {
    auto first = Start("first");
    HWND window = first->PublishedWindow();
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_MINIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(window) != FALSE; }, 5000));

    auto second = Start("second");
    ASSERT_TRUE(second->WaitExit(30000));
    EXPECT_TRUE(WaitUntil([&] { return IsIconic(window) == FALSE; }, 5000));
    EXPECT_TRUE(first->LinesStartingWith("received").empty());
}

TEST_F(InstanceChecker, HandOverReachesAnInstanceShowingAModalBox) {
    auto first = Start("first");
    HWND window = first->PublishedWindow();
    ASSERT_NE(window, nullptr);
    PostMessageA(window, kShowBox, 0, 0);
    HWND box = NULL;
    ASSERT_TRUE(WaitUntil([&] {
        box = GetLastActivePopup(window);
        return box != NULL && box != window && IsWindowVisible(box);
    }, 10000));

    auto second = Start("second", {"b.imz"});
    ASSERT_TRUE(second->WaitExit(30000));
    EXPECT_EQ(first->LinesStartingWith("received"), std::vector<std::string>{"received b.imz"});
    EXPECT_EQ(GetForegroundWindow(), box);

    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_TRUE(first->WaitForLine("box-closed", 10000));
}

TEST_F(InstanceChecker, TwentyStartsAtOnceYieldOnePublishedInstance) {
    const int starts = 20;
    std::string gateName = "VorlixProbeGate_" + tag_;
    UniqueHandle gate(CreateEventA(NULL, TRUE, FALSE, gateName.c_str()));
    ASSERT_TRUE(gate.Valid());
    std::vector<std::unique_ptr<Probe>> probes;
    for (int i = 0; i < starts; ++i) {
        probes.push_back(std::make_unique<Probe>(dir_.File("start" + std::to_string(i) + ".log"),
                                                 tag_, gateName, std::vector<std::string>{}));
    }
    for (auto& probe : probes) ASSERT_TRUE(probe->WaitForLine("ready", 120000));
    SetEvent(gate.Get());

    std::vector<std::string> published;
    std::vector<std::string> handedOver;
    for (auto& probe : probes) {
        ASSERT_TRUE(WaitUntil([&] { return probe->Log().size() >= 2; }, 120000));
        const std::string outcome = probe->Log()[1];
        (StartsWith(outcome, "published ") ? published : handedOver).push_back(outcome);
    }
    ASSERT_EQ(published.size(), 1u);
    const std::string window = published[0].substr(10);
    EXPECT_EQ(handedOver, std::vector<std::string>(starts - 1, "handed-over " + window));
}

TEST_F(InstanceChecker, AfterTheInstanceEndsTheNextStartPublishes) {
    auto first = Start("first");
    HWND window = first->PublishedWindow();
    ASSERT_NE(window, nullptr);
    PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(first->WaitExit(30000));

    auto next = Start("next", {"a.img"});
    EXPECT_NE(next->PublishedWindow(), nullptr);
}

TEST_F(InstanceChecker, ForeignCopyDataBlocksAreReadOnlyWithinTheirSize) {
    auto first = Start("first");
    HWND window = first->PublishedWindow();
    ASSERT_NE(window, nullptr);

    const std::string longPath(300, 'x');
    struct Block {
        const char* data;
        DWORD size;
    } blocks[] = {
        {"abcde", 5},                       // no zero byte within the block
        {"", 1},                            // empty text
        {nullptr, 0},                       // no block at all
        {longPath.c_str(), 301},            // longer than any path
        {"d.img", 6},
    };
    for (const Block& block : blocks) {
        COPYDATASTRUCT data = {0, block.size, const_cast<char*>(block.data)};
        DWORD_PTR result = 0;
        EXPECT_NE(SendMessageTimeoutA(window, WM_COPYDATA, 1, reinterpret_cast<LPARAM>(&data),
                                      SMTO_NORMAL, 10000, &result),
                  0);
    }
    EXPECT_EQ(first->Log(),
              (std::vector<std::string>{"published " + Number(window), "rejected", "rejected",
                                        "rejected", "rejected", "received d.img"}));
}

// In one process, without probes.

// Whether another thread could take the named mutex right now.
bool MutexIsFree(const std::string& name) {
    bool free = false;
    std::thread([&] {
        UniqueHandle mutex(OpenMutexA(SYNCHRONIZE, FALSE, name.c_str()));
        DWORD result = mutex ? WaitForSingleObject(mutex.Get(), 0) : WAIT_FAILED;
        free = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
        if (free) ReleaseMutex(mutex.Get());
    }).join();
    return free;
}

TEST(InstanceCheckerInProcess, PublishingEndsTheStartupLockAndLaterStartsFindTheBlock) {
    const std::string tag = UniqueTag();
    CInstanceChecker first(ProbeMutexName(tag).c_str(), ProbeTitle(tag).c_str());
    first.BeginStartupLock();
    EXPECT_FALSE(MutexIsFree(ProbeMutexName(tag)));
    EXPECT_FALSE(first.IsOtherInstanceRunning());
    ASSERT_TRUE(first.PublishMainWindow());  // no main window: 0 is published
    EXPECT_FALSE(first.HoldsStartupLock());
    EXPECT_TRUE(MutexIsFree(ProbeMutexName(tag)));

    CInstanceChecker later(ProbeMutexName(tag).c_str(), ProbeTitle(tag).c_str());
    later.BeginStartupLock();
    EXPECT_TRUE(later.IsOtherInstanceRunning());
    EXPECT_FALSE(later.PublishMainWindow());
    EXPECT_TRUE(later.HoldsStartupLock());
    EXPECT_EQ(later.HandOverToRunningInstance("a.img"), nullptr);
}

TEST(InstanceCheckerInProcess, NothingToHandOverToWithoutAPublishedInstance) {
    const std::string tag = UniqueTag();
    CInstanceChecker checker(ProbeMutexName(tag).c_str(), ProbeTitle(tag).c_str());
    checker.BeginStartupLock();
    EXPECT_FALSE(checker.IsOtherInstanceRunning());
    EXPECT_EQ(checker.HandOverToRunningInstance("a.img"), nullptr);
}

TEST(InstanceCheckerInProcess, AWindowGoneSincePublishingIsHarmless) {
    const std::string tag = UniqueTag();
    CInstanceChecker first(ProbeMutexName(tag).c_str(), ProbeTitle(tag).c_str());
    HWND window = CreateWindowExA(0, "STATIC", "gone", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, NULL, NULL);
    ASSERT_NE(window, nullptr);
    first.SetMainWindow(window);
    first.BeginStartupLock();
    ASSERT_TRUE(first.PublishMainWindow());
    DestroyWindow(window);

    CInstanceChecker later(ProbeMutexName(tag).c_str(), ProbeTitle(tag).c_str());
    later.BeginStartupLock();
    EXPECT_EQ(later.HandOverToRunningInstance("a.img"), window);
}

TEST(InstanceCheckerInProcess, ATitleTooLongForABlockNamePublishesNothing) {
    const std::string tag = UniqueTag();
    const std::string title = ProbeTitle(tag) + std::string(MAX_PATH, 't');
    CInstanceChecker checker(ProbeMutexName(tag).c_str(), title.c_str());
    EXPECT_STREQ(checker.SharedBlockName(), "");
    checker.BeginStartupLock();
    EXPECT_FALSE(checker.PublishMainWindow());
    EXPECT_TRUE(checker.HoldsStartupLock());
    EXPECT_FALSE(checker.IsOtherInstanceRunning());
}

TEST(InstanceCheckerInProcess, StartupLockTakenTwiceIsFreedByOneEnd) {
    const std::string tag = UniqueTag();
    CInstanceChecker checker(ProbeMutexName(tag).c_str(), ProbeTitle(tag).c_str());
    checker.BeginStartupLock();
    checker.BeginStartupLock();
    checker.EndStartupLock();
    EXPECT_FALSE(checker.HoldsStartupLock());
    EXPECT_TRUE(MutexIsFree(ProbeMutexName(tag)));
}

TEST(InstanceCheckerInProcess, DestroyingTheCheckerFreesTheStartupLock) {
    const std::string tag = UniqueTag();
    const std::string name = ProbeMutexName(tag);
    // Keeps the mutex alive after the checker has closed its handle, to look at it then.
    UniqueHandle keep(CreateMutexA(NULL, FALSE, name.c_str()));
    {
        CInstanceChecker checker(name.c_str(), ProbeTitle(tag).c_str());
        checker.BeginStartupLock();
        ASSERT_FALSE(MutexIsFree(name));
    }
    EXPECT_TRUE(MutexIsFree(name));
}

TEST(InstanceCheckerInProcess, AStartupLockLeftByAnEndedHolderIsTaken) {
    const std::string tag = UniqueTag();
    const std::string name = ProbeMutexName(tag);
    UniqueHandle keep(CreateMutexA(NULL, FALSE, name.c_str()));
    std::thread([&] { WaitForSingleObject(keep.Get(), 0); }).join();  // ends holding it

    bool held = false;
    std::thread([&] {
        CInstanceChecker checker(name.c_str(), ProbeTitle(tag).c_str());
        checker.BeginStartupLock();
        held = checker.HoldsStartupLock();
    }).join();
    EXPECT_TRUE(held);
}

// A holder that never lets go (a hung start, or another program using the same name)
// costs a start the bound, not its life; it then runs and publishes without the lock.
TEST(InstanceCheckerInProcess, AHolderThatNeverLetsGoDelaysAStartOnlyByTheBound) {
    const std::string tag = UniqueTag();
    const std::string name = ProbeMutexName(tag);
    UniqueHandle taken(CreateEventA(NULL, TRUE, FALSE, NULL));
    UniqueHandle finish(CreateEventA(NULL, TRUE, FALSE, NULL));
    std::thread holder([&] {
        UniqueHandle mutex(CreateMutexA(NULL, TRUE, name.c_str()));
        SetEvent(taken.Get());
        WaitForSingleObject(finish.Get(), 60000);
        ReleaseMutex(mutex.Get());
    });
    ASSERT_EQ(WaitForSingleObject(taken.Get(), 10000), WAIT_OBJECT_0);

    CInstanceChecker checker(name.c_str(), ProbeTitle(tag).c_str());
    checker.BeginStartupLock(200);
    EXPECT_FALSE(checker.HoldsStartupLock());
    EXPECT_FALSE(checker.IsOtherInstanceRunning());
    EXPECT_TRUE(checker.PublishMainWindow());

    SetEvent(finish.Get());
    holder.join();
}

}  // namespace
