// The session report of a synthetic session, written through the report writer in the
// counter's key order: program, settings, channel layout and the throughput curves. Its counts
// and curves are what the counter would have counted live (see live_count.h).
#pragma once

#include <string>

#include "tools/velkor-synth/live_count.h"
#include "tools/velkor-synth/scene_generator.h"

namespace velkor::synth {

struct SessionOptions;

// Writes the report `name` of the session; `startDayNumber` is the session's start. Its totals
// and curves come from `live` (none when it holds no channels: the report's settings alone, which
// is all the count itself reads). Raises FileAccessError naming the file.
void writeSessionReport(const std::string& name, const SessionOptions& options,
                        double startDayNumber, const LiveCount& live);

}  // namespace velkor::synth
