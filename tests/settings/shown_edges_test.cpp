// Figures as the user reads them, right at the edges of their rounding: a difference in per cent
// that rounds to 0.0 from above and from below or just reaches a tenth, and a time of day a
// millisecond either side of half a second, of a whole second and of midnight; a bad number
// quoted in its message up to forty characters and read to its fortieth fraction digit.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "io/errors.h"

#include "settings/recorded_figures.h"
#include "settings/session_report.h"

namespace velkor {
namespace {

TEST(ShownEdges, DifferenceRoundsToATenthFromEitherSide) {
    const struct {
        int64_t replay;
        int32_t recorded;
        const char* shown;  // as the comparison line and the count table show it
        const char* plain;  // as the CSV table holds it
    } cases[] = {
        {10004, 10000, "0.0 %", "0.0"},   // +0.04: no sign on a difference that rounds to nothing
        {9996, 10000, "0.0 %", "0.0"},    // -0.04
        {10005, 10000, "+0.1 %", "0.1"},  // +0.05: half a tenth rounds away from zero
        {9995, 10000, "-0.1 %", "-0.1"},  // -0.05
        {10001, 10000, "0.0 %", "0.0"},
        {1001, 1000, "+0.1 %", "0.1"},
        {999, 1000, "-0.1 %", "-0.1"},
        {1, 2000, "-100.0 %", "-100.0"},    // -99.95 carries into the whole number
        {3, 2000, "-99.9 %", "-99.9"},      // -99.85
        {3999, 2000, "+100.0 %", "100.0"},  // +99.95
        {2, 1, "+100.0 %", "100.0"},
        {1, 1, "0.0 %", "0.0"},
    };
    for (const auto& c : cases) {
        const std::optional<double> percent = differencePercent(c.replay, c.recorded);
        EXPECT_EQ(formatDifference(percent), c.shown) << c.replay << " vs " << c.recorded;
        EXPECT_EQ(formatPerCentNumber(percent), c.plain) << c.replay << " vs " << c.recorded;
    }
    // Nothing to compare with: no text in either form.
    for (const std::optional<double> none :
         {differencePercent(5, std::nullopt), differencePercent(5, 0)}) {
        EXPECT_EQ(formatDifference(none), "");
        EXPECT_EQ(formatPerCentNumber(none), "");
    }
    EXPECT_EQ(formatPerCentNumber(differencePercent(0, 0)), "0.0");
}

// A day number a given number of milliseconds (fractions allowed) after midnight of day 45000
// (2023-03-15).
double at(double ms) {
    return 45000 + ms / 86400000.0;
}

TEST(ShownEdges, TimeIsItsNearestSecond) {
    constexpr double noon = 12 * 3600 * 1000.0;
    constexpr double midnight = 24 * 3600 * 1000.0;
    const struct {
        double dayNumber;
        const char* time;
        const char* dateTime;
    } cases[] = {
        {at(noon), "12:00:00", "2023-03-15 12:00:00"},
        {at(noon - 499), "12:00:00", "2023-03-15 12:00:00"},  // rounds up to the next second
        {at(noon - 501), "11:59:59", "2023-03-15 11:59:59"},
        {at(noon + 499), "12:00:00", "2023-03-15 12:00:00"},
        {at(noon + 501), "12:00:01", "2023-03-15 12:00:01"},
        {at(noon + 999.6), "12:00:01", "2023-03-15 12:00:01"},
        {at(midnight - 501), "23:59:59", "2023-03-15 23:59:59"},
        {at(midnight - 499), "00:00:00", "2023-03-16 00:00:00"},  // into the next day
        {at(499), "00:00:00", "2023-03-15 00:00:00"},
        {at(501), "00:00:01", "2023-03-15 00:00:01"},
        {at(59 * 1000), "00:00:59", "2023-03-15 00:00:59"},
        {at(60 * 1000), "00:01:00", "2023-03-15 00:01:00"},
        {at(3599 * 1000), "00:59:59", "2023-03-15 00:59:59"},
        {at(3600 * 1000), "01:00:00", "2023-03-15 01:00:00"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(formatTimeOfDay(c.dayNumber), c.time) << std::fixed << c.dayNumber;
        EXPECT_EQ(formatDayNumberDateTime(c.dayNumber), c.dateTime) << std::fixed << c.dayNumber;
    }
}

// A value that is no number is named in the message in quotes, as it stands up to forty
// characters and cut to forty with "..." beyond.
TEST(ShownEdges, ABadNumberIsQuotedWholeUpToFortyCharacters) {
    const std::string forty = "12345678901234567890123456789012345678x.";
    const struct {
        std::string text;
        std::string problem;
    } cases[] = {
        {"x", "\"x\" is not a number"},
        {" 5", "\" 5\" is not a number"},  // blanks are kept in view
        {forty, "\"" + forty + "\" is not a number"},
        {forty + "5", "\"" + forty + "...\" is not a number"},
        {std::string(400, '9'), "\"" + std::string(40, '9') + "...\" is out of range"},
    };
    for (const auto& c : cases) {
        try {
            stringtofloat(c.text);
            ADD_FAILURE() << "no error for " << c.text;
        } catch (const ReportValueError& e) {
            EXPECT_EQ(e.problem(), c.problem);
        }
    }
    EXPECT_EQ(stringtofloat(""), 0);
}

// A number with more fraction digits than a double holds is read to its fortieth fraction digit
// and no further.
TEST(ShownEdges, FractionDigitsAreReadToTheFortieth) {
    const struct {
        std::string text;
        double value;
    } cases[] = {
        // Too many digits for the quick way: read to the last.
        {"0." + std::string(24, '0') + "5", 5e-25},
        {"0." + std::string(39, '0') + "5", 5e-40},  // the fortieth digit
        {"0." + std::string(40, '0') + "5", 0},      // the forty-first
        {"2." + std::string(38, '0') + "75", 2},
        {"0.1234567890123456789012345", 0.1234567890123456789012345},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(stringtofloat(c.text), c.value) << c.text;
}

}  // namespace
}  // namespace velkor
