// The chart's axis arithmetic.
#include "ui/chart/chart_axis.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace velkor {
namespace {

// Times of day up to this much before the start are the start's own day (curve points are
// rounded to whole seconds and may fall just before the first line).
constexpr double wrapTolerance = 300.0 / secondsPerDay;

// Civil date of a day count since 1970-01-01 (proleptic Gregorian).
void civilFromDays(long long z, int& y, int& m, int& d) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = unsigned(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long yy = (long long)yoe + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = int(doy - (153 * mp + 2) / 5 + 1);
    m = int(mp < 10 ? mp + 3 : mp - 9);
    y = int(yy + (m <= 2));
}

}  // namespace

double continuousTime(double dayFraction, double sessionStart) {
    const double day = std::floor(sessionStart);
    double t = day + dayFraction;
    if (sessionStart > 0 && t < sessionStart - wrapTolerance) t += 1;
    return t;
}

double timeLabelStep(double spanSeconds, int maxLabels) {
    static constexpr std::array<double, 19> steps{1,     2,     5,     10,    15,   30,   60,
                                                  120,   300,   600,   900,   1800, 3600, 7200,
                                                  10800, 14400, 21600, 43200, 86400};
    const int most = std::max(1, maxLabels);
    for (double step : steps) {
        if (spanSeconds / step + 1 <= most) return step;
    }
    return steps.back() * std::ceil(spanSeconds / steps.back() / most);
}

std::vector<double> timeLabels(double first, double last, int maxLabels) {
    std::vector<double> labels;
    if (!(last >= first)) return labels;
    const double a = first * secondsPerDay, b = last * secondsPerDay;
    const double step = timeLabelStep(b - a, maxLabels);
    // Rounded to a millisecond, so that a time that is a whole second is not lost to the
    // day number's limited precision.
    for (double s = std::ceil(std::round(a * 1000) / 1000 / step) * step; s <= b + 1e-3; s += step)
        labels.push_back(s / secondsPerDay);
    return labels;
}

double columnOfTime(double t, double first, double last, double left, double width) {
    if (!(last > first)) return left;
    return left + (t - first) / (last - first) * width;
}

double timeOfColumn(double x, double first, double last, double left, double width) {
    if (!(width > 0)) return first;
    return first + (x - left) / width * (last - first);
}

TimeSpan chartTimeSpan(double sessionStart, double sessionEnd, const std::vector<double>& times) {
    TimeSpan span;
    if (sessionEnd > sessionStart) {
        span = {sessionStart, sessionEnd};
    } else if (!times.empty()) {
        const auto [lo, hi] = std::minmax_element(times.begin(), times.end());
        span = {*lo, *hi};
    }
    const double minute = 60.0 / secondsPerDay;
    if (span.last - span.first < minute) span.last = span.first + minute;
    return span;
}

std::string timeLabel(double dayNumber) {
    const long long seconds = std::llround(dayNumber * secondsPerDay);
    const long long ofDay = ((seconds % 86400) + 86400) % 86400;
    char text[32];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", ofDay / 3600, ofDay / 60 % 60,
                  ofDay % 60);
    return text;
}

std::string dateLabel(double dayNumber) {
    const long long seconds = std::llround(dayNumber * secondsPerDay);
    const long long days = (seconds - (((seconds % 86400) + 86400) % 86400)) / 86400;
    int y = 0, m = 0, d = 0;
    civilFromDays(days - 25569, y, m, d);  // 25569: 1970-01-01 as a day number
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", y, m, d);
    return text;
}

}  // namespace velkor
