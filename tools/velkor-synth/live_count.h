// What the counter would have counted live on a generated session: the replay of its recording
// with its report's settings, one frame a second (1116 lines, the counter's own pace). These are
// the figures the session's report records, so that a generated session's recorded totals agree
// with the replay as a real counter's do; the number of fish drawn stays in the truth file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velkor::synth {

struct LiveCount {
    std::vector<int64_t> totals;                    // per channel, index 0 is channel 1
    std::vector<std::vector<int32_t>> perInterval;  // per channel, objects per 10 seconds
};

// Counts `recording` (a .blb whose report lies beside it) as velkor-count does at frame width
// 1116, with no counter type selected. An object counts in the 10-second interval of the line on
// which it closed. Raises FileAccessError naming the recording when it cannot be counted, and
// the replay's own errors as they are.
LiveCount countAsLive(const std::string& recording, int32_t channels, int64_t lines);

}  // namespace velkor::synth
