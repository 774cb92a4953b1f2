#pragma once

#include <QString>

namespace kx {

// The slide show's speed control: steps from 0.25x to 32x of the usual interval of 500 ms,
// each twice the one before (the interval edit takes two digits at least, 16 ms the fastest). The
// control sets the interval edit, and the edit moves the control to the nearest step, so both
// always show the same pace.
inline constexpr int kSlideSpeedSteps = 8;
inline constexpr int kSlideSpeedNormalStep = 2; // 1x

// The interval in milliseconds of a step (clamped to the steps).
int slideIntervalOfStep(int step);
// The step nearest to an interval; an interval of 0 or less (no slide show) is the slowest.
int slideStepOfInterval(int interval);
// "4× (125 ms)", or "—" for an interval that keeps the slide show from running.
QString slideSpeedText(int interval);

} // namespace kx
