#pragma once
#include <stdint.h>

#include "engine/job/job_request.h"

// The one range of the emergency read's further tries of a bad sector: what the
// settings page lists, the registry and the terminal's --retries take, and the job
// performs.

// True for a count the jobs take: 0 to kMostReadRetries.
constexpr bool ReadRetriesInRange(long long count) {
    return count >= 0 && count <= static_cast<long long>(kMostReadRetries);
}

// A count from outside (a hand-edited registry value, a request made elsewhere) as the
// settings keep it: one out of range is no choice anyone was offered, and the default
// stands in for it.
constexpr uint32_t ReadRetriesOrDefault(long long count) {
    return ReadRetriesInRange(count) ? static_cast<uint32_t>(count) : kDefaultReadRetries;
}

// The most a job tries: a larger count would only hold a failing drive longer.
constexpr uint32_t ClampReadRetries(uint32_t count) {
    return count < kMostReadRetries ? count : kMostReadRetries;
}
