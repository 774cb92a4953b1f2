#include "slide_speed.h"

#include <algorithm>
#include <cmath>

namespace kx {

namespace {

constexpr double kNormalInterval = 500.0;

} // namespace

int slideIntervalOfStep(int step) {
    const int clamped = std::clamp(step, 0, kSlideSpeedSteps - 1);
    return static_cast<int>(
        std::lround(kNormalInterval / std::ldexp(1.0, clamped - kSlideSpeedNormalStep)));
}

int slideStepOfInterval(int interval) {
    if (interval <= 0)
        return 0;
    const double step = kSlideSpeedNormalStep + std::log2(kNormalInterval / interval);
    return std::clamp(static_cast<int>(std::lround(step)), 0, kSlideSpeedSteps - 1);
}

QString slideSpeedText(int interval) {
    if (interval <= 0)
        return QString::fromUtf8("—");
    const double factor = kNormalInterval / interval;
    QString text = factor >= 1 ? QString::number(factor, 'g', 3) : QString::number(factor, 'g', 2);
    text.replace(u'.', u',');
    return QString::fromUtf8("%1× (%2 ms)").arg(text).arg(interval);
}

} // namespace kx
