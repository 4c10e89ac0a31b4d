// The channel rule: a position belongs to the first channel, from the pass's cursor on, whose
// rightEdge is at least the position. The search never passes the last channel in use, so a
// position right of the last rightEdge takes the last channel's parameters.
#pragma once

#include <cstdint>
#include <limits>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/core_state.h"

namespace velkor {

// Channels in use, kept inside 1..maxChannels so a bad count can never index past the table.
inline int32_t channelsInUse(const CoreState& s) {
    return s.channelCount < 1 ? 1 : (s.channelCount > maxChannels ? maxChannels : s.channelCount);
}

// The channel table as a cursor reads it: the channels in use and their right edges, worked out
// once and kept for as long as the table and the channel count stay as they were, so that a pass
// over a line starts its cursor with a few copies. Every cursor starts from these.
class ChannelEdges {
public:
    explicit ChannelEdges(const CoreState& s) { set(s); }

    // True when these were made from s's table as it stands.
    bool matches(const CoreState& s) const {
        return (&s.channelTable == table_) & (s.channelCount == count_) &
               (s.channelTable[1].rightEdge == given1_) & (s.channelTable[2].rightEdge == given2_) &
               (s.channelTable[3].rightEdge == given3_);
    }
    // Made again from s unless they match it.
    void update(const CoreState& s) {
        if (!matches(s)) [[unlikely]]
            set(s);
    }

private:
    friend class ChannelCursor;

    void set(const CoreState& s) {
        table_ = &s.channelTable;
        count_ = s.channelCount;
        given1_ = s.channelTable[1].rightEdge;
        given2_ = s.channelTable[2].rightEdge;
        given3_ = s.channelTable[3].rightEdge;
        last_ = channelsInUse(s);
        edge1_ = edgeOf(1);
        edge2_ = edgeOf(2);
        edge3_ = edgeOf(3);
        rising_ = (edge1_ <= edge2_) & (edge2_ <= edge3_);
#if defined(__SSE2__)
        edges_ = _mm_set_epi32(std::numeric_limits<int32_t>::max(), edge3_, edge2_, edge1_);
#endif
    }
    // The right edge of channel c, none (the largest position) from the last channel in use on.
    int32_t edgeOf(int32_t c) const {
        const int32_t edge = (*table_)[c].rightEdge;
        return c < last_ ? edge : std::numeric_limits<int32_t>::max();
    }

    const ChannelArray<ChannelBounds>* table_ = nullptr;
    // What they were made from: the channel count and the right edges of channels 1..3.
    int32_t count_ = 0, given1_ = 0, given2_ = 0, given3_ = 0;
    int32_t last_ = 1;
    // The right edges of channels 1..3, from the last channel in use on without end.
    int32_t edge1_ = 0, edge2_ = 0, edge3_ = 0;
    bool rising_ = true;
#if defined(__SSE2__)
    __m128i edges_;  // edge1_, edge2_, edge3_ and no edge beyond
#endif
};

// The cursor of one pass held in locals. Positions come in from left to right only roughly
// (a merged segment can reach past the next one), and moving forward to each in turn ends on
// the channel of the rightmost position so far. When the channels' right edges rise from left
// to right, as a sound channel table has them, that channel is one plus the number of edges left
// of that position: a count without branches, where the channel changes from position to
// position. Otherwise the cursor steps forward edge by edge. The last channel in use has no
// right edge: it takes everything beyond.
class ChannelCursor {
public:
    explicit ChannelCursor(const CoreState& s) : ChannelCursor(ChannelEdges(s)) {}
    // The edges are copied: the cursor keeps them in locals while the pass stores into the state.
    explicit ChannelCursor(const ChannelEdges& e)
        : table_(*e.table_),
          last_(e.last_),
          edge1_(e.edge1_),
          edge2_(e.edge2_),
          edge3_(e.edge3_),
          rising_(e.rising_)
#if defined(__SSE2__)
          ,
          edges_(e.edges_)
#endif
    {
    }

    // Moves forward to the channel of position x.
    int32_t advanceTo(int32_t x) {
        if (rising_) [[likely]] {
            reach_ = x > reach_ ? x : reach_;
#if defined(__SSE2__)
            // The four edges compared at once. Rising edges make the edges passed a run of low
            // bits (0, 1, 3 or 7), so their number is the position of the lowest bit clear.
            const __m128i passed = _mm_cmpgt_epi32(_mm_set1_epi32(reach_), edges_);
            const auto mask = static_cast<uint32_t>(_mm_movemask_ps(_mm_castsi128_ps(passed)));
            channel_ = 1 + __builtin_ctz(mask + 1);
#else
            channel_ = 1 + (edge1_ < reach_) + (edge2_ < reach_) + (edge3_ < reach_);
#endif
        } else {
            while (edgeOf(channel_) < x) ++channel_;
        }
        return channel_;
    }

    int32_t channel() const {
        return channel_;
    }

private:
    int32_t edgeOf(int32_t c) const {
        const int32_t edge = table_[c].rightEdge;
        return c < last_ ? edge : std::numeric_limits<int32_t>::max();
    }

    const ChannelArray<ChannelBounds>& table_;
    int32_t last_;
    int32_t edge1_, edge2_, edge3_;
    bool rising_;
#if defined(__SSE2__)
    __m128i edges_;
#endif
    int32_t reach_ = std::numeric_limits<int32_t>::min();
    int32_t channel_ = 1;
};

}  // namespace velkor
