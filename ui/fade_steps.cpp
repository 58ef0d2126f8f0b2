#include "ui/fade_steps.h"

namespace {

// The x87 unit of a 32-bit build keeps intermediates in extended precision; storing
// through a volatile float rounds to single precision at exactly the points where the
// sequences are defined, so every build shows the same alphas.
float StepSize(int minAlpha, int maxAlpha) {
    volatile float step = static_cast<float>(maxAlpha - minAlpha) * 0.1f;
    return step;
}

float Advance(float position, float step, FadeDirection direction) {
    volatile float next = direction == FadeDirection::Out ? position - step : position + step;
    return next;
}

}  // namespace

int ClampAlpha(int alpha) {
    if (alpha < 0) return 0;
    if (alpha > 255) return 255;
    return alpha;
}

FadeSteps::FadeSteps(FadeDirection direction, int startAlpha, int minAlpha, int maxAlpha)
    : direction_(direction), alpha_(ClampAlpha(startAlpha)) {
    position_ = Advance(static_cast<float>(alpha_), StepSize(minAlpha, maxAlpha), direction_);
}

bool FadeSteps::WantsStep(int minAlpha, int maxAlpha) const {
    // Limits that leave no room would give a step of zero and a fade without end.
    if (!(StepSize(minAlpha, maxAlpha) > 0.0f)) return false;
    return direction_ == FadeDirection::Out ? alpha_ > minAlpha : alpha_ < maxAlpha;
}

int FadeSteps::Step(int minAlpha, int maxAlpha) {
    // Rounded half up in double, where adding 0.5 to a float is exact; clamped before
    // the conversion so that no position can overflow an int.
    double rounded = static_cast<double>(position_) + 0.5;
    alpha_ = rounded <= 0.0 ? 0 : rounded >= 255.0 ? 255 : static_cast<int>(rounded);
    // A fade that starts off the grid of steps would otherwise end past its limit (out
    // from 130 would show 117): the last step stops at the limit instead.
    if (direction_ == FadeDirection::Out && alpha_ < minAlpha) alpha_ = minAlpha;
    if (direction_ == FadeDirection::In && alpha_ > maxAlpha) alpha_ = maxAlpha;
    position_ = Advance(position_, StepSize(minAlpha, maxAlpha), direction_);
    return alpha_;
}
