// Segmentation of one scan line: raw dark runs are merged across small gaps, too narrow runs are
// dropped, with the thresholds of the channel in which each raw run starts.
#pragma once

#include "core/core_state.h"

namespace velkor {

// Filters currentLine entries 1..n in place: each kept segment's ends, and its split group 0
// over whatever object the entry held before; sets currentCount and channelCursor.
// n <= 0 means a line without runs. n must not exceed lineCapacity.
void filterSegments(CoreState& s, int32_t n);

}  // namespace velkor
