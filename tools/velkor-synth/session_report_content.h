// The session report of a synthetic session, written through the report writer in the
// counter's key order: program, settings, channel layout and the throughput curves.
#pragma once

#include <string>

#include "tools/velkor-synth/scene_generator.h"

namespace velkor::synth {

struct SessionOptions;

// Writes the report `name` of the session; `startDayNumber` is the session's start.
// Raises FileAccessError naming the file.
void writeSessionReport(const std::string& name, const SessionOptions& options,
                        double startDayNumber, const SceneTruth& truth);

}  // namespace velkor::synth
