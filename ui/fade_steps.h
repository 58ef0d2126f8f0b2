#pragma once

// The arithmetic of one window fade, apart from threads and windows so that it can be
// checked anywhere.
//
// A fade walks the alpha between the limits in ten equal steps of (max - min) / 10. The
// position is kept in single precision and each alpha shown is that position rounded half
// up. With the limits 128 and 255 the step is 12.7, and the float rounding makes the two
// directions differ slightly: out from 255 gives 242 230 217 204 192 179 166 153 141 128,
// in from 128 gives 141 153 166 179 191 204 217 230 242 255. A fade that starts where
// another one stopped continues from the alpha reached and stops at the limit.

enum class FadeDirection { Out, In };

int ClampAlpha(int alpha);

class FadeSteps {
public:
    // startAlpha is clamped into 0..255 first.
    FadeSteps(FadeDirection direction, int startAlpha, int minAlpha, int maxAlpha);

    // The alpha reached: the clamped start until the first step.
    int Alpha() const { return alpha_; }

    // Whether the alpha has not yet reached the end of this direction.
    bool WantsStep(int minAlpha, int maxAlpha) const;

    // Moves one step and returns the new alpha (clamped). The limits are read again on
    // every step because another window may set them up while a fade runs.
    int Step(int minAlpha, int maxAlpha);

private:
    FadeDirection direction_;
    int alpha_;
    float position_;
};
