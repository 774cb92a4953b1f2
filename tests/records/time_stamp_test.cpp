#include "records/time_stamp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>

using namespace kx;

namespace {
int32_t seconds(const char* text) {
    return *timeSeconds(QByteArrayView(text));
}
} // namespace

TEST(TimeStamp, SecondsDayAndHourOfTheGamesCalendar) {
    EXPECT_EQ(seconds("1970-01-01-02-00-00"), 0);
    EXPECT_EQ(dayNumber(0), 1);
    EXPECT_EQ(hourNumber(0), 2);

    // 1 March 01:30 local: the count's date is 28 February, and the hour rule adds a day.
    const int32_t earlyMarch = seconds("2005-01-03-01-30-00");
    EXPECT_EQ(hourNumber(earlyMarch), 1);
    EXPECT_EQ(dayNumber(earlyMarch), 29);
    EXPECT_EQ(dayNumber(seconds("2005-01-03-02-00-00")), 29);

    EXPECT_EQ(dayNumber(seconds("2005-01-02-10-00-00")), 32); // first of a month
    EXPECT_EQ(dayNumber(seconds("2005-02-02-10-00-00")), 2);
    EXPECT_EQ(hourNumber(seconds("2005-07-03-23-59-59")), 23);
}

TEST(TimeStamp, RecountsBetweenEvents) {
    EXPECT_EQ(recountsBetween(seconds("2005-31-01-23-00-00"), seconds("2005-01-02-00-00-00")), 1);
    EXPECT_EQ(recountsBetween(seconds("2005-01-02-10-00-00"), seconds("2005-02-02-09-00-00")), -1);
    EXPECT_EQ(recountsBetween(seconds("2005-07-03-14-05-09"), seconds("2005-07-03-14-59-00")), 0);
    EXPECT_EQ(recountsBetween(seconds("2005-07-03-14-05-09"), seconds("2005-07-03-17-00-00")), 3);
    EXPECT_EQ(recountsBetween(seconds("2005-07-03-22-00-00"), seconds("2005-08-03-01-00-00")), 3);
}

TEST(TimeStamp, RecountsWithinAnHourShortcutAgreesWithTheDayAndHourRule) {
    // The day and hour numbers, negative and wrapped seconds included, around hour edges.
    auto byRule = [](int32_t previous, int32_t current) {
        int32_t days = (int32_t{dayNumber(current)} - int32_t{dayNumber(previous)}) * 24;
        return int32_t{hourNumber(current)} + std::max(days, 0) - int32_t{hourNumber(previous)};
    };
    std::mt19937 random(8);
    const int32_t starts[] = {
        0, -1, -3600, 7199, 31535999, -31536000, INT32_MAX - 5000, INT32_MIN, 1110000000};
    for (const int32_t start : starts) {
        for (int i = 0; i < 2000; ++i) {
            const int32_t previous = static_cast<int32_t>(static_cast<uint32_t>(start) +
                                                          static_cast<uint32_t>(random() % 7300));
            const int32_t current = static_cast<int32_t>(static_cast<uint32_t>(previous) +
                                                         static_cast<uint32_t>(random() % 4000));
            ASSERT_EQ(recountsBetween(previous, current), byRule(previous, current))
                << previous << " to " << current;
        }
    }
}

TEST(TimeStamp, DigitTextsAndSignedFieldsReadAlike) {
    // Plain digits take a shortcut; a field with a sign goes the general way.
    EXPECT_EQ(timeSeconds("2005-07-03-14-05-09"), timeSeconds("2005-07-03-14-05-+9"));
    EXPECT_EQ(timeSeconds("9999-31-12-23-59-09"), timeSeconds("9999-31-12-23-59-+9"));
    EXPECT_EQ(timeSeconds("2005-07-03-14-05-09 trailing"), timeSeconds("2005-07-03-14-05-09"));
}

TEST(TimeStamp, UnreadableFieldsFail) {
    EXPECT_FALSE(timeSeconds("2005-07-03-14-05-x9"));
    EXPECT_FALSE(timeSeconds("2005-07-03-14-05"));
    EXPECT_FALSE(timeSeconds(""));
    EXPECT_FALSE(timeSeconds("abcd-07-03-14-05-09"));
    // Absurd but numeric fields wrap instead of overflowing.
    EXPECT_TRUE(timeSeconds("9999-99-99-99-99-99"));
}

TEST(TimeStamp, LabelAndTextFromUnixTime) {
    EXPECT_EQ(eventTimeLabel("2005-07-03-14-05-09"), "07. 03. - 14:05:09");
    EXPECT_EQ(eventTimeLabel("2005-07"), "07. . - ::");
    EXPECT_EQ(timeTextFromUnix(0), "1970-01-01-02-00-00");
    EXPECT_EQ(timeTextFromUnix(1110200709), "2005-07-03-15-05-09");
    EXPECT_EQ(timeTextFromUnix(-7200), "1970-01-01-00-00-00");
    EXPECT_EQ(timeTextFromUnix(INT32_MAX), "2038-19-01-05-14-07");
}
