// Segmentation of one scan line, in place: each raw run is merged into the last kept segment when
// the gap to it is below the merge gap, else kept when wider than the minimum segment width, else
// dropped. Thresholds are those of the channel in which the raw run starts.
#include "core/segmentation.h"

namespace velkor {

void filterSegments(CoreState& s, int32_t n) {
    const LineArray& line = s.currentLine();
    filterRuns(s, n, [&line](int32_t r) { return RawRun{line[r].v, line[r].h}; });
}

}  // namespace velkor
