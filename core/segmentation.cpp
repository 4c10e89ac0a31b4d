// Segmentation of one scan line, in place: each raw run is merged into the last kept segment when
// the gap to it is below the merge gap, else kept when wider than the minimum segment width, else
// dropped. Thresholds are those of the channel in which the raw run starts.
#include "core/segmentation.h"

#include "core/channel_rule.h"
#include "core/checked_math.h"

namespace velkor {

void filterSegments(CoreState& s, int32_t n) {
    LineArray& line = s.currentLine();
    line[0].v = 0;  // sentinel: the gap of the first run is measured from position 0
    line[0].h = 0;
    if (n > lineCapacity) n = lineCapacity;  // the reader never hands more; never read past

    ChannelCursor cursor(s);
    int32_t kept = 0;
    int32_t lastH = 0;
    for (int32_t r = 1; r <= n; ++r) {
        const int32_t v = line[r].v;
        const int32_t h = line[r].h;
        // The thresholds are read for every run: the channel changes from run to run.
        const int32_t channel = cursor.advanceTo(v);
        const int32_t mergeGap = s.mergeGap[channel];
        const int32_t minWidth = s.minSegmentWidth[channel];
        const int32_t gap = checkedSub(v, lastH, "segment gap");
        if (gap < mergeGap && kept > 0) {
            lastH = h;
            line[kept].h = h;
        } else if (checkedSub(h, v, "segment width") > minWidth) {
            ++kept;  // kept <= r: the entry is read before it is overwritten
            line[kept].v = v;
            line[kept].h = h;
            line[kept].klofinn = 0;  // the entry may hold an old object: a segment is in no group
            lastH = h;
        }
    }
    s.currentCount = kept;
    s.channelCursor = cursor.channel();
}

}  // namespace velkor
