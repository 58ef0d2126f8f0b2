#include "tests/support/job_test_host.h"

#include <gtest/gtest.h>

#include <stdio.h>

int TestJobHost::Count(JobNotice notice) const {
    int count = 0;
    for (const Posted& p : posts) {
        if (p.notice == notice) ++count;
    }
    return count;
}

const TestJobHost::Posted* TestJobHost::Last(JobNotice notice) const {
    for (auto it = posts.rbegin(); it != posts.rend(); ++it) {
        if (it->notice == notice) return &*it;
    }
    return nullptr;
}

JobNotice TestJobHost::Outcome() const {
    const int ends = Count(JobNotice::Finished) + Count(JobNotice::Failed);
    if (ends == 0) return JobNotice::Progress;
    EXPECT_EQ(ends, 1) << "a job ends with exactly one Finished or Failed";
    EXPECT_NE(posts.back().notice, JobNotice::Progress) << "a notice after the end";
    return posts.back().notice;
}

void TestJobHost::Post(JobKind kind, JobNotice notice, const JobProgress& progress) {
    posts.push_back(Posted{kind, notice, progress});
    if (onPost) onPost(posts.back());
}

bool TestJobHost::CancelRequested() {
    ++cancelChecks;
    return cancelled ||
           (cancelAfterProgress >= 0 && Count(JobNotice::Progress) >= cancelAfterProgress);
}
