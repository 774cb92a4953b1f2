#include "replay/slide_speed.h"

#include <gtest/gtest.h>

using namespace kx;

TEST(SlideSpeed, StepsAndIntervalsShowTheSamePace) {
    struct Case {
        int step, interval;
        const char* text;
    } cases[] = {{0, 2000, "0,25× (2000 ms)"},
                 {2, 500, "1× (500 ms)"},
                 {4, 125, "4× (125 ms)"},
                 {7, 16, "31,3× (16 ms)"}};
    for (const Case& c : cases) {
        EXPECT_EQ(slideIntervalOfStep(c.step), c.interval);
        EXPECT_EQ(slideStepOfInterval(c.interval), c.step);
        EXPECT_EQ(slideSpeedText(c.interval), QString::fromUtf8(c.text));
    }
    // A typed interval moves the control to the nearest step; none runs at the slowest.
    EXPECT_EQ(slideStepOfInterval(200), 3);
    EXPECT_EQ(slideStepOfInterval(9999), 0);
    EXPECT_EQ(slideStepOfInterval(1), 7);
    EXPECT_EQ(slideStepOfInterval(0), 0);
    EXPECT_EQ(slideSpeedText(-5), QString::fromUtf8("—"));
}
