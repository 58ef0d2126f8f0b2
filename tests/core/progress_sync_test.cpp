#include "engine/job/progress_sync.h"

#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include <atomic>
#include <thread>

namespace {

// Every field names the same step, so a copy taken while another was being stored shows.
JobProgress Step(uint32_t step) {
    JobProgress progress{};
    progress.percentDone = step % 101;
    progress.kilobytesCopied = step;
    snprintf(progress.speedText, sizeof progress.speedText, "%u.%u", step, step % 10);
    snprintf(progress.sizeText, sizeof progress.sizeText, "%u kB", step);
    return progress;
}

bool Whole(const JobProgress& seen) {
    const JobProgress expected = Step(seen.kilobytesCopied);
    return memcmp(&seen, &expected, sizeof seen) == 0;
}

TEST(ProgressSync, TheWindowThreadSeesOnlyWholeSnapshotsAndNeverAnOlderOne) {
    ProgressSync sync;
    sync.Store(Step(0));
    // The worker goes on storing for as long as the window thread is still copying.
    constexpr int kLoads = 300000;
    std::atomic<bool> reading{true};
    std::atomic<uint32_t> stored{0};
    std::thread worker([&] {
        JobProgress next[2] = {Step(1), Step(2)};
        for (uint32_t step = 1; reading; ++step) {
            sync.Store(next[step % 2]);
            next[step % 2] = Step(step + 2);
            stored = step;
        }
    });
    // On a busy machine the worker may not run before the loads are done: wait for it.
    while (stored == 0) std::this_thread::yield();
    int torn = 0;
    int backwards = 0;
    uint32_t previous = 0;
    for (int load = 0; load < kLoads; ++load) {
        const JobProgress seen = sync.Load();
        if (!Whole(seen)) ++torn;
        if (seen.kilobytesCopied < previous) ++backwards;
        previous = seen.kilobytesCopied;
    }
    reading = false;
    worker.join();
    EXPECT_EQ(torn, 0);
    EXPECT_EQ(backwards, 0);
    EXPECT_GT(stored.load(), 0u);
}

TEST(ProgressSync, ResetBeforeAStartClearsEverything) {
    ProgressSync sync;
    sync.Store(Step(77));
    sync.Reset();
    const JobProgress cleared = sync.Load();
    EXPECT_EQ(cleared.percentDone, 0u);
    EXPECT_EQ(cleared.kilobytesCopied, 0u);
    EXPECT_STREQ(cleared.speedText, "");
    EXPECT_STREQ(cleared.sizeText, "");
}

}  // namespace
