#include "ui/fade_steps.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int> RunFade(FadeDirection direction, int start, int minAlpha, int maxAlpha) {
    FadeSteps steps(direction, start, minAlpha, maxAlpha);
    std::vector<int> applied;
    while (steps.WantsStep(minAlpha, maxAlpha) && applied.size() < 100) {
        applied.push_back(steps.Step(minAlpha, maxAlpha));
    }
    return applied;
}

struct FadeCase {
    const char* name;
    FadeDirection direction;
    int start, minAlpha, maxAlpha;
    std::vector<int> expected;
};

class FadeSequence : public testing::TestWithParam<FadeCase> {};

TEST_P(FadeSequence, AppliesTheseAlphas) {
    const FadeCase& c = GetParam();
    EXPECT_EQ(RunFade(c.direction, c.start, c.minAlpha, c.maxAlpha), c.expected);
}

// The first two are the look of every window; the float rounding gives 192 on the way
// out and 191 on the way in, and a build that rounds differently would show it here.
INSTANTIATE_TEST_SUITE_P(
    Fades, FadeSequence,
    testing::Values(
        FadeCase{"OutFromOpaque", FadeDirection::Out, 255, 128, 255,
                 {242, 230, 217, 204, 192, 179, 166, 153, 141, 128}},
        FadeCase{"InFromHalf", FadeDirection::In, 128, 128, 255,
                 {141, 153, 166, 179, 191, 204, 217, 230, 242, 255}},
        FadeCase{"InFromWhereAnOutStopped", FadeDirection::In, 204, 128, 255, {217, 229, 242, 255}},
        FadeCase{"OutFromWhereAnInStopped", FadeDirection::Out, 191, 128, 255, {178, 166, 153, 140, 128}},
        FadeCase{"InOvershootIsClamped", FadeDirection::In, 250, 128, 255, {255}},
        FadeCase{"OutOvershootStopsAtTheMinimum", FadeDirection::Out, 130, 128, 255, {128}},
        FadeCase{"InOvershootStopsAtTheMaximum", FadeDirection::In, 150, 0, 160, {160}},
        FadeCase{"OutToTransparent", FadeDirection::Out, 255, 0, 255,
                 {230, 204, 179, 153, 128, 102, 77, 51, 26, 0}},
        FadeCase{"StartAboveRangeIsClamped", FadeDirection::Out, 400, 128, 255,
                 {242, 230, 217, 204, 192, 179, 166, 153, 141, 128}},
        FadeCase{"StartBelowRangeIsClamped", FadeDirection::In, -40, 0, 255,
                 {26, 51, 77, 102, 128, 153, 179, 204, 230, 255}},
        FadeCase{"OutAlreadyAtMinimum", FadeDirection::Out, 128, 128, 255, {}},
        FadeCase{"InAlreadyAtMaximum", FadeDirection::In, 255, 128, 255, {}},
        // Limits without room would step by zero for ever.
        FadeCase{"EqualLimitsTakeNoStep", FadeDirection::Out, 255, 200, 200, {}},
        FadeCase{"CrossedLimitsTakeNoStep", FadeDirection::In, 100, 255, 128, {}}),
    [](const testing::TestParamInfo<FadeCase>& param) { return std::string(param.param.name); });

TEST(FadeSteps, KeepsTheClampedStartUntilTheFirstStep) {
    EXPECT_EQ(FadeSteps(FadeDirection::Out, 300, 128, 255).Alpha(), 255);
    EXPECT_EQ(FadeSteps(FadeDirection::In, -1, 128, 255).Alpha(), 0);
    EXPECT_EQ(FadeSteps(FadeDirection::In, 141, 128, 255).Alpha(), 141);
}

TEST(FadeSteps, ReadsTheLimitsAgainOnEveryStep) {
    // Another window set up with other limits halfway through: the step follows.
    FadeSteps steps(FadeDirection::Out, 255, 128, 255);
    EXPECT_EQ(steps.Step(128, 255), 242);  // position 242.3, next 229.6
    EXPECT_EQ(steps.Step(0, 255), 230);    // the step is now 25.5: next 204.1
    EXPECT_EQ(steps.Step(0, 255), 204);
    EXPECT_TRUE(steps.WantsStep(0, 255));
    EXPECT_FALSE(steps.WantsStep(204, 255));
}

TEST(ClampAlpha, KeepsAlphaInAByte) {
    EXPECT_EQ(ClampAlpha(-1), 0);
    EXPECT_EQ(ClampAlpha(0), 0);
    EXPECT_EQ(ClampAlpha(255), 255);
    EXPECT_EQ(ClampAlpha(256), 255);
}

}  // namespace
