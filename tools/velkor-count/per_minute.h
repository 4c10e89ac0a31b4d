// velkor-count --per-minute: one CSV row per started minute of a recording with the replay's count
// of every channel in that minute and the recorded curve's throughput over it.
#pragma once

#include <string>

#include "tools/velkor-count/count_recording.h"

namespace velkor {

// Counts the whole recording (as stepping forward to the end) and writes the table to `out`. An
// object counts in the minute of the line on which it closed; without the overload correction the
// channel columns add up to the recording's totals.
CountResult countPerMinute(const std::string& recording, const CountOptions& options,
                           OutputSink& out);

}  // namespace velkor
