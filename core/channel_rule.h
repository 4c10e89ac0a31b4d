// The channel rule: a position belongs to the first channel, from the pass's cursor on, whose
// rightEdge is at least the position. The search never passes the last channel in use, so a
// position right of the last rightEdge takes the last channel's parameters.
#pragma once

#include <cstdint>

#include "core/core_state.h"

namespace velkor {

// Channels in use, kept inside 1..maxChannels so a bad count can never index past the table.
inline int32_t channelsInUse(const CoreState& s) {
    return s.channelCount < 1 ? 1 : (s.channelCount > maxChannels ? maxChannels : s.channelCount);
}

// Moves channelCursor forward to the channel of position x.
inline void advanceChannel(CoreState& s, int32_t x, int32_t lastChannel) {
    while (s.channelCursor < lastChannel && s.channelTable[s.channelCursor].rightEdge < x) {
        ++s.channelCursor;
    }
}

}  // namespace velkor
