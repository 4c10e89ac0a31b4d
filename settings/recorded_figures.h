// What the live counter recorded about its session in the report beside the recording: the
// session totals per channel and in all, each counter at the end, the length of the session, the
// tank and the comment lines. Velkor shows these beside its own replay so that the two can be
// compared. A figure the report does not hold, or holds in a form that is not a number, is "not
// recorded" (an empty optional), never 0.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/core_state.h"

namespace velkor {

class ProfileIni;

struct RecordedFigures {
    std::optional<int32_t> total;                          // "Total" in [Program]
    ChannelArray<std::optional<int32_t>> sessionTotals{};  // "CountersT"1..4 in [Kest]
    ChannelArray<std::optional<int32_t>> endCounters{};    // "Counters"1..4 in [Kest]
    std::optional<double> lasting;                         // "Lasting" in [Program], in days
    std::optional<double> dateTime;     // "DateTime" in [Program]: the session's end, a day number
    std::optional<std::string> tank;    // "Tank" in [Program], UTF-8
    std::vector<std::string> comments;  // "comment0", "comment1", ... in [Program], UTF-8

    // Whether any session total (per channel 1..channels, or in all) is recorded.
    bool hasTotals(int32_t channels) const;
};

// Reads the recorded figures of a parsed report. Integers follow the report's integer rule
// (decimal, "$" or "0x" hexadecimal); "Lasting" is read as a real with either decimal separator.
// Comment lines are read from "comment0" on, up to "Nocommentlines" of them when that is
// recorded, and stop at the first one missing. Never raises: what cannot be read is not recorded.
RecordedFigures readRecordedFigures(const ProfileIni& ini);

// The replay's difference from a recorded figure in per cent of the recorded one:
// (replay - recorded) / recorded x 100. Empty when nothing is recorded, or when the recorded
// figure is 0 and the replay is not (no per cent of nothing); 0 when both are 0.
std::optional<double> differencePercent(int64_t replay, std::optional<int32_t> recorded);

// A difference in per cent with its sign and one decimal: "+4.2 %", "-0.5 %", "0.0 %".
// Empty text for an empty difference.
std::string formatDifference(std::optional<double> percent);
// The same as a plain number for tables: "4.2", "-0.5", "0.0".
std::string formatPerCentNumber(std::optional<double> percent);

}  // namespace velkor
