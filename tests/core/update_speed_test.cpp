#include "engine/job/update_speed.h"

#include <gtest/gtest.h>

#include <stdio.h>

#include <random>
#include <string>

namespace {

std::string Speed(uint32_t kilobytes, int64_t start, int64_t now) {
    char text[kSpeedTextSize];
    UpdateSpeed(kilobytes, start, now, text);
    return text;
}

TEST(UpdateSpeed, WholeSecondsOneDecimalRoundedAsPrintfRounds) {
    struct Case {
        uint32_t kilobytes;
        int64_t start, now;
        const char* text;
    };
    const Case cases[] = {
        {0, 5, 5, "0"},        // nothing yet, first second
        {1440, 5, 5, "0"},     // the second has not changed
        {1440, 5, 4, "0"},     // clock set back
        {0, 5, 6, "0.0"},
        {1440, 0, 3, "480.0"},
        {40, 0, 3, "13.3"},
        {2, 0, 3, "0.7"},
        {1, 0, 4, "0.2"},      // 0.25 exactly: ties go to the even digit
        {3, 0, 4, "0.8"},      // 0.75 exactly
        {5, 0, 4, "1.2"},      // 1.25 exactly
        {1, 0, 20, "0.1"},     // 0.05 is stored a little above
        {3, 0, 20, "0.1"},     // 0.15 is stored a little below
        {7, 0, 20, "0.3"},     // 0.35 is stored a little below
        {1720, 0, 7000000000LL, "0.0"},  // elapsed beyond 32 bits
        {4294967295u, 0, 1, "4294967295.0"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Speed(c.kilobytes, c.start, c.now), c.text)
            << c.kilobytes << " kB from " << c.start << " to " << c.now;
    }
}

#ifndef _WIN32
// The stub cannot afford printf; the main program's texts must not differ from it.
TEST(FormatSpeed, AgreesWithSnprintfDigitForDigit) {
    char ours[kSpeedTextSize];
    char theirs[32];
    int differences = 0;
    auto compare = [&](uint32_t kilobytes, uint32_t seconds) {
        FormatSpeed(kilobytes, seconds, ours);
        snprintf(theirs, sizeof theirs, "%.1f", static_cast<double>(kilobytes) / seconds);
        if (std::string(ours) != theirs && ++differences <= 10) {
            ADD_FAILURE() << kilobytes << " / " << seconds << ": " << ours << " vs " << theirs;
        }
    };
    for (uint32_t kilobytes = 0; kilobytes <= 1720; ++kilobytes) {
        for (uint32_t seconds = 1; seconds <= 200; ++seconds) compare(kilobytes, seconds);
    }
    std::mt19937 random(20240607);
    for (int i = 0; i < 200000; ++i) {
        compare(static_cast<uint32_t>(random()), static_cast<uint32_t>(random() % 100000) + 1);
        compare(static_cast<uint32_t>(random()), static_cast<uint32_t>(random()) | 1u);
    }
    EXPECT_EQ(differences, 0);
}
#endif

}  // namespace
