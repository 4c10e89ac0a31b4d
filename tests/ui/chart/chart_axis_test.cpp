// The chart's axis arithmetic: label steps over spans from seconds to a day, labels on round
// times of day, columns and times both ways, a session's times past midnight on one axis, and
// the labels' text.
#include <gtest/gtest.h>

#include "ui/chart/chart_axis.h"

namespace velkor {
namespace {

constexpr double day = 46000;  // 2025-12-09 as a day number
double at(int h, int m, int s) {
    return (h * 3600 + m * 60 + s) / secondsPerDay;
}

TEST(ChartAxis, LabelStepIsTheSmallestRoundStepThatFits) {
    struct Case {
        double span;
        int most;
        double step;
    } cases[] = {
        {10, 11, 1},
        {10, 10, 2},
        {10, 2, 10},
        {240, 9, 30},
        {240, 5, 60},
        {240, 4, 120},
        {3600, 13, 300},
        {3600, 12, 600},
        {86400, 25, 3600},
        {86400, 24, 7200},
        {86400, 2, 86400},
        {86400, 1, 86400 * 1},
        {6 * 86400, 2, 86400 * 3},
        // Room for one label or none: a step as long as the span (at least a day), never more
        // labels than one.
        {10, 1, 86400},
        {10, 0, 86400},
        {10, -3, 86400},
        {0, 1, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(timeLabelStep(c.span, c.most), c.step) << c.span << " " << c.most;
}

// Every step at the span where it just fits four intervals (five labels), and half a second
// more, where it no longer does and the next step is taken.
TEST(ChartAxis, EachStepFitsUpToItsExactSpan) {
    const double steps[] = {1,   2,    5,    10,   15,    30,    60,    120,   300,  600,
                            900, 1800, 3600, 7200, 10800, 14400, 21600, 43200, 86400};
    for (size_t i = 0; i < std::size(steps); ++i) {
        SCOPED_TRACE(steps[i]);
        EXPECT_EQ(timeLabelStep(4 * steps[i], 5), steps[i]);
        if (i + 1 < std::size(steps)) {
            EXPECT_EQ(timeLabelStep(4 * steps[i] + 0.5, 5), steps[i + 1]);
        }
    }
}

TEST(ChartAxis, LabelsFallOnRoundTimesOfDayWithinTheAxis) {
    const std::vector<double> labels = timeLabels(day + at(9, 29, 59), day + at(9, 33, 59), 5);
    ASSERT_EQ(labels.size(), 4u);
    EXPECT_EQ(timeLabel(labels.front()), "09:30:00");
    EXPECT_EQ(timeLabel(labels.back()), "09:33:00");
    // A label exactly at either end is kept.
    const std::vector<double> ends = timeLabels(day + at(9, 30, 0), day + at(9, 34, 0), 5);
    ASSERT_EQ(ends.size(), 5u);
    EXPECT_EQ(timeLabel(ends.front()), "09:30:00");
    EXPECT_EQ(timeLabel(ends.back()), "09:34:00");
    EXPECT_TRUE(timeLabels(day + 1, day, 5).empty());
}

TEST(ChartAxis, ColumnsAndTimesMapBothWays) {
    const double first = day + at(10, 0, 0), last = day + at(11, 0, 0);
    EXPECT_DOUBLE_EQ(columnOfTime(first, first, last, 40, 600), 40);
    EXPECT_DOUBLE_EQ(columnOfTime(last, first, last, 40, 600), 640);
    EXPECT_NEAR(columnOfTime(day + at(10, 30, 0), first, last, 40, 600), 340, 1e-6);
    EXPECT_NEAR(timeOfColumn(340, first, last, 40, 600), day + at(10, 30, 0), 1e-9);
    EXPECT_DOUBLE_EQ(columnOfTime(first, first, first, 40, 600), 40);  // an axis of no length
    EXPECT_DOUBLE_EQ(timeOfColumn(100, first, last, 40, 0), first);
}

TEST(ChartAxis, TimesPastMidnightBelongToTheNextDay) {
    const double start = day + at(23, 58, 0);
    struct Case {
        double timeOfDay;
        double expected;
    } cases[] = {
        {at(23, 58, 0), day + at(23, 58, 0)},
        {at(23, 59, 59), day + at(23, 59, 59)},
        {at(23, 57, 59), day + at(23, 57, 59)},  // a rounded point just before the start
        {at(0, 0, 0), day + 1},
        {at(0, 4, 0), day + 1 + at(0, 4, 0)},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(continuousTime(c.timeOfDay, start), c.expected, 1e-9) << c.timeOfDay;
    // Without a session start, a time of day stays as it is.
    EXPECT_DOUBLE_EQ(continuousTime(at(0, 4, 0), 0), at(0, 4, 0));
}

TEST(ChartAxis, TheAxisRunsFromTheSessionsStartToItsEnd) {
    const TimeSpan span = chartTimeSpan(day + at(23, 58, 0), day + 1 + at(0, 4, 0), {day + 0.5});
    EXPECT_DOUBLE_EQ(span.first, day + at(23, 58, 0));
    EXPECT_DOUBLE_EQ(span.last, day + 1 + at(0, 4, 0));
    const TimeSpan data = chartTimeSpan(0, 0, {day + at(1, 0, 0), day + at(0, 30, 0)});
    EXPECT_DOUBLE_EQ(data.first, day + at(0, 30, 0));
    EXPECT_DOUBLE_EQ(data.last, day + at(1, 0, 0));
    const TimeSpan shortest = chartTimeSpan(0, 0, {});
    EXPECT_NEAR(shortest.last - shortest.first, 60 / secondsPerDay, 1e-12);
}

TEST(ChartAxis, LabelTexts) {
    struct Case {
        double t;
        const char* time;
        const char* date;
    } cases[] = {
        {day, "00:00:00", "2025-12-09"},
        {day + at(23, 59, 59), "23:59:59", "2025-12-09"},
        {day + at(23, 59, 59) + 0.6 / secondsPerDay, "00:00:00", "2025-12-10"},  // rounds up
        {day + at(12, 0, 0) + 0.4 / secondsPerDay, "12:00:00", "2025-12-09"},
        {2, "00:00:00", "1900-01-01"},
        // The ends of January, February and December, a leap day among them.
        {45322, "00:00:00", "2024-01-31"},
        {45323, "00:00:00", "2024-02-01"},
        {45351, "00:00:00", "2024-02-29"},
        {45352, "00:00:00", "2024-03-01"},
        {45657, "00:00:00", "2024-12-31"},
        {45658, "00:00:00", "2025-01-01"},
        // The first days of a 400-year cycle of the calendar.
        {36585, "00:00:00", "2000-02-29"},
        {36586, "00:00:00", "2000-03-01"},
        {36590, "00:00:00", "2000-03-05"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(timeLabel(c.t), c.time) << c.t;
        EXPECT_EQ(dateLabel(c.t), c.date) << c.t;
    }
}

}  // namespace
}  // namespace velkor
