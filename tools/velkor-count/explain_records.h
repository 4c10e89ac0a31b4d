// The records velkor-count --explain adds to the trace: one "ended" record per object that ends,
// with its verdict and the limits it was judged by, and the verdicts per channel in the summary.
#pragma once

#include <cstdint>

#include "replay/frame_endings.h"
#include "tools/velkor-count/json_line.h"

namespace velkor {

// {"ended": {"frame": F, "line": L, "channel": C, "verdict": "...", "cut": false, <the 16
// fields>, "limits": {"minLength": .., ..., "maxArea": ..}}} and a line end.
void endedRecord(LineBuilder& b, int32_t frame, const EndedObject& e);

// `, "verdicts": [{"counted": n, "too short": n, ...}, ...]`, one object per channel with every
// verdict.
void verdictsField(LineBuilder& b, const VerdictTally& tally, int32_t channels);

}  // namespace velkor
