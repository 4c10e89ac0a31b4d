// Throughput over the time of a session, in fish per minute: the replay's counts gathered per run
// of lines (by the line on which each object closed), the replay's curve made from them, and the
// recorded curve of the session report averaged over a stretch of time.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "io/counter_constants.h"

namespace velkor {

inline constexpr int32_t linesPerMinute = 60 * linesPerSecond;
inline constexpr double linesPerDay = 86400.0 * linesPerSecond;

// A curve as the chart and the session report hold it: (time of day in days, fish per minute).
using ThroughputCurve = std::vector<std::pair<double, double>>;

// Objects counted per channel in consecutive bins of `linesPerBin` lines: bin 0 holds lines
// 1..linesPerBin. The bins grow as objects arrive (by whole doublings, never per line).
class ThroughputTally {
public:
    explicit ThroughputTally(int32_t linesPerBin)
        : linesPerBin_(linesPerBin < 1 ? 1 : linesPerBin) {}

    // An object of channel 1..4 closed on line `line` (1-based); anything else is ignored.
    void count(int32_t line, int32_t channel);
    int32_t linesPerBin() const { return linesPerBin_; }
    // Objects of channel 1..4 in bin `bin` (0 for a bin no object reached).
    int32_t at(int64_t bin, int32_t channel) const;

private:
    int32_t linesPerBin_;
    std::vector<std::array<int32_t, 4>> bins_;
};

// Bins of a recording of `lineCount` lines: every bin that holds a line, the last one possibly
// short (ceil(lineCount / linesPerBin)).
int64_t binCount(int64_t lineCount, int32_t linesPerBin);

// The replay's curve of one channel: one point per bin at the time of day of the bin's last line
// (days from the session start's time of day; past midnight the value passes 1, as the recorded
// curve's do), the bin's count scaled to fish per minute. Consecutive bins are added together so
// that the curve has at most `maxPoints` points.
ThroughputCurve replayCurve(const ThroughputTally& tally, int32_t channel, int64_t lineCount,
                            double sessionStart, int32_t maxPoints);

// The recorded curve's mean over the time of day `from`..`to` (days, `from` < `to`), interpolated
// linearly between its points, over the part of the stretch the curve covers. Times past midnight
// are read as the session's: a point earlier than the one before it by more than half a day lies
// on the next day. Empty when the curve holds no sample (only its two closing points) or does not
// reach into the stretch.
std::optional<double> curveMean(const ThroughputCurve& curve, double from, double to);

}  // namespace velkor
