// The class sweep as velkor-count prints it: a readable table, or one JSON line per recording.
#pragma once

#include <string>

#include "tools/velkor-count/channel_values.h"
#include "tools/velkor-count/class_sweep.h"

namespace velkor {

// One row per class and, per channel, its count, the difference to the recorded total and the
// verdicts that moved most from the report's class; "*" marks the report's class, "<" the class
// nearest to the channel's reference, which a line under the table compares with it.
std::string sweepTable(const ClassSweep& sweep, const GivenPerChannel& references);

// {"sweep": {...}} with the same figures, every verdict's tally among them, and a line end.
std::string sweepJson(const ClassSweep& sweep, const GivenPerChannel& references);

}  // namespace velkor
