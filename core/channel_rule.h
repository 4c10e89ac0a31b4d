// The channel rule: a position belongs to the first channel, from the pass's cursor on, whose
// rightEdge is at least the position. The search never passes the last channel in use, so a
// position right of the last rightEdge takes the last channel's parameters.
#pragma once

#include <cstdint>
#include <limits>

#include "core/core_state.h"

namespace velkor {

// Channels in use, kept inside 1..maxChannels so a bad count can never index past the table.
inline int32_t channelsInUse(const CoreState& s) {
    return s.channelCount < 1 ? 1 : (s.channelCount > maxChannels ? maxChannels : s.channelCount);
}

// The cursor of one pass held in locals, with the edge that ends the current channel: a position
// inside the current channel costs one comparison. The last channel in use has no end.
class ChannelCursor {
public:
    explicit ChannelCursor(const CoreState& s)
        : table_(s.channelTable), last_(channelsInUse(s)), edge_(edgeOf(1)) {}

    // Moves forward to the channel of position x.
    int32_t advanceTo(int32_t x) {
        while (edge_ < x) {
            ++channel_;
            edge_ = edgeOf(channel_);
        }
        return channel_;
    }

    int32_t channel() const { return channel_; }

private:
    int32_t edgeOf(int32_t c) const {
        return c < last_ ? table_[c].rightEdge : std::numeric_limits<int32_t>::max();
    }

    const ChannelArray<ChannelBounds>& table_;
    int32_t last_;
    int32_t channel_ = 1;
    int32_t edge_;
};

}  // namespace velkor
