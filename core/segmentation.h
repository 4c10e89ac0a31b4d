// Segmentation of one scan line: raw dark runs are merged across small gaps, too narrow runs are
// dropped, with the thresholds of the channel in which each raw run starts.
#pragma once

#include <cstdint>

#include "core/channel_rule.h"
#include "core/checked_math.h"
#include "core/core_state.h"

namespace velkor {

// The two ends of a raw dark run.
struct RawRun {
    int32_t v;
    int32_t h;
};

// Filters the raw runs 1..n that runAt(r) gives into currentLine entries 1..: each kept segment's
// ends, and its split group 0 over whatever object the entry held before; sets currentCount and
// channelCursor. n <= 0 means a line without runs; n is held to lineCapacity. The runs may come
// from currentLine itself (kept entries never pass the run being read) or straight from where
// the reader holds them, so that a line is read and filtered in one pass.
// `edges` must match s's channel table (see ChannelEdges); the form without them works them out.
template <typename RunAt>
inline void filterRuns(CoreState& s, int32_t n, const RunAt& runAt, const ChannelEdges& edges) {
    LineArray& line = s.currentLine();
    line[0].v = 0;  // sentinel: the gap of the first run is measured from position 0
    line[0].h = 0;
    if (n > lineCapacity) n = lineCapacity;  // the reader never hands more; never read past
    if (n <= 0) {
        // Nothing to place in a channel: the cursor stays at the first.
        s.currentCount = 0;
        s.channelCursor = 1;
        return;
    }

    ChannelCursor cursor(edges);
    int32_t kept = 0;
    int32_t lastH = 0;
    for (int32_t r = 1; r <= n; ++r) {
        const RawRun run = runAt(r);
        const int32_t v = run.v;
        const int32_t h = run.h;
        // The thresholds are read for every run: the channel changes from run to run.
        const int32_t channel = cursor.advanceTo(v);
        const int32_t mergeGap = s.mergeGap[channel];
        const int32_t minWidth = s.minSegmentWidth[channel];
        const int32_t gap = checkedSub(v, lastH, "segment gap");
        if (gap < mergeGap && kept > 0) {
            lastH = h;
            line[kept].h = h;
        } else if (checkedSub(h, v, "segment width") > minWidth) {
            ++kept;  // kept <= r: an entry of currentLine is read before it is overwritten
            line[kept].v = v;
            line[kept].h = h;
            line[kept].klofinn = 0;  // the entry may hold an old object: a segment is in no group
            lastH = h;
        }
    }
    s.currentCount = kept;
    s.channelCursor = cursor.channel();
}

template <typename RunAt>
inline void filterRuns(CoreState& s, int32_t n, const RunAt& runAt) {
    filterRuns(s, n, runAt, ChannelEdges(s));
}

// Filters currentLine entries 1..n in place, as filterRuns.
void filterSegments(CoreState& s, int32_t n);

}  // namespace velkor
