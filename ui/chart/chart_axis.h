// The arithmetic of the throughput chart as plain functions: where its time axis runs, where its
// time labels stand, how a time of day maps to a pixel column and back, and how a curve's times of
// day are laid out on one continuous axis when a session passes midnight.
#pragma once

#include <string>
#include <vector>

namespace velkor {

inline constexpr double secondsPerDay = 86'400.0;

// A time given as a time of day (day fraction 0..1), on the continuous axis of a session that
// starts at day number `sessionStart` (days since 30 Dec 1899): times of day earlier than the
// session's start, by more than a few minutes, belong to the day after it. With no session start
// (0) the time of day is taken as it is.
double continuousTime(double dayFraction, double sessionStart);

// Seconds between two labelled times of the axis: the smallest of 1, 2, 5, 10, 15, 30 s, 1, 2,
// 5, 10, 15, 30 min, 1, 2, 3, 4, 6, 12, 24 h that gives at most `maxLabels` labels over `span`
// seconds (at least 1 label).
double timeLabelStep(double spanSeconds, int maxLabels);

// The labelled times (day numbers) from `first` to `last` (day numbers): every multiple of the
// step in seconds since the day numbers' origin, so that labels fall on round times of day.
std::vector<double> timeLabels(double first, double last, int maxLabels);

// The pixel column of time t (day number) on an axis from `first` to `last` drawn over columns
// left .. left + width, and back. An axis of no length puts every time at its left end.
double columnOfTime(double t, double first, double last, double left, double width);
double timeOfColumn(double x, double first, double last, double left, double width);

// The time axis: from the session's start to its end where these are known (end > start), else
// from the earliest to the latest of `times`; at least a minute long.
struct TimeSpan {
    double first = 0;
    double last = 0;
};
TimeSpan chartTimeSpan(double sessionStart, double sessionEnd, const std::vector<double>& times);

// "hh:mm:ss" of a day number's time of day, rounded to the nearest second.
std::string timeLabel(double dayNumber);
// "yyyy-mm-dd" of a day number's date.
std::string dateLabel(double dayNumber);

}  // namespace velkor
