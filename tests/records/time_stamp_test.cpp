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
    struct Case {
        const char* from;
        const char* to;
        int32_t recounts;
    };
    const Case cases[] = {
        {"2005-31-01-23-00-00", "2005-01-02-00-00-00", 1},   // last of a month to the first
        {"2005-01-02-10-00-00", "2005-02-02-09-00-00", 23},  // the first to the second
        {"2005-07-03-14-05-09", "2005-07-03-14-59-00", 0},   // same hour
        {"2005-07-03-14-05-09", "2005-07-03-17-00-00", 3},   // same day
        {"2005-07-03-22-00-00", "2005-08-03-01-00-00", 3},   // next day
        {"2005-12-01-23-00-00", "2005-12-02-03-00-00", 724}, // more than a month
        {"2005-31-12-23-30-00", "2006-01-01-01-00-00", 2},   // a new year
        {"2008-28-02-12-00-00", "2008-01-03-12-00-00", 48},  // over 29 February
        {"2008-29-02-12-00-00", "2008-01-03-12-00-00", 24},  // 29 February is a day of its own
        {"2005-28-02-12-00-00", "2005-01-03-12-00-00", 24},  // no leap day
        {"2005-30-04-12-00-00", "2005-31-04-12-00-00", 24},  // 31 April runs on into May
        {"2005-31-04-12-00-00", "2005-01-05-12-00-00", 0},   //   as 1 May
        {"2005-07-03-17-00-00", "2005-07-03-14-00-00", 0},   // backwards
        {"2006-01-01-00-00-00", "2005-31-12-23-00-00", 0},
    };
    for (const Case& c : cases) {
        const auto from = readTimeStamp(c.from);
        const auto to = readTimeStamp(c.to);
        ASSERT_TRUE(from && to) << c.from << " " << c.to;
        EXPECT_EQ(recountsBetween(from->hour, to->hour), c.recounts) << c.from << " to " << c.to;
        EXPECT_EQ(from->seconds, seconds(c.from)) << "the seconds value stays the 365-day one";
    }
    EXPECT_EQ(readTimeStamp("1970-01-01-02-00-00")->hour, 0);
}

TEST(TimeStamp, RecountsAreTheWholeHoursBetweenRealTimes) {
    // Stamps written from real moments (the XML conversion's rule) give the hours between
    // the moments, across month ends, leap days and years.
    std::mt19937 random(8);
    for (int i = 0; i < 20000; ++i) {
        const int32_t previous = static_cast<int32_t>(random() % 2000000000u);
        const int32_t current = static_cast<int32_t>(int64_t{previous} + random() % 9000000 -
                                                     (i % 8 == 0 ? 4000000 : 0));
        // Local 02:00 on 1 January 1970 is Unix time 0, so the hours are whole Unix hours.
        auto hourOf = [](int64_t unix) { return (unix - ((unix % 3600) + 3600) % 3600) / 3600; };
        const int64_t hours = hourOf(current) - hourOf(previous);
        const auto from = readTimeStamp(timeTextFromUnix(previous));
        const auto to = readTimeStamp(timeTextFromUnix(current));
        ASSERT_TRUE(from && to);
        ASSERT_EQ(recountsBetween(from->hour, to->hour), std::max<int64_t>(hours, 0))
            << timeTextFromUnix(previous).constData() << " to "
            << timeTextFromUnix(current).constData();
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
    // The calendar reading also needs a month of 1 to 12 and a day of 1 to 31.
    for (const char* text : {"2005-07-13-14-05-09", "2005-07-00-14-05-09", "2005-32-03-14-05-09",
                             "2005-00-03-14-05-09", "2005-07-03-14-05-x9"})
        EXPECT_FALSE(readTimeStamp(text)) << text;
    EXPECT_TRUE(readTimeStamp("2005-31-02-14-05-09"));
}

TEST(TimeStamp, LabelAndTextFromUnixTime) {
    EXPECT_EQ(eventTimeLabel("2005-07-03-14-05-09"), "07. 03. - 14:05:09");
    EXPECT_EQ(eventTimeLabel("2005-07"), "07. . - ::");
    EXPECT_EQ(timeTextFromUnix(0), "1970-01-01-02-00-00");
    EXPECT_EQ(timeTextFromUnix(1110200709), "2005-07-03-15-05-09");
    EXPECT_EQ(timeTextFromUnix(-7200), "1970-01-01-00-00-00");
    EXPECT_EQ(timeTextFromUnix(INT32_MAX), "2038-19-01-05-14-07");
}
