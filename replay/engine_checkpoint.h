// A checkpoint of the replay engine's count: everything the next frame's reading depends on, taken
// after a frame was read. Restored into an engine open on the same recording, the frames read on
// from there count, trace and explain exactly as the count that took it did. A plain value: it is
// copied and compared as a whole and holds no pointers; it is large (two line arrays), so keep
// many of them on the heap.
#pragma once

#include <cstdint>

#include "core/core_state.h"
#include "replay/frame_endings.h"

namespace velkor {

struct EngineCheckpoint {
    // The core: line arrays (the live objects crossing into the next frame), counts, channel
    // table, class parameters as adapted so far and the running means.
    CoreState core{};
    int32_t frameWidth = 0;     // W of the frames counted: the next frame is lastFrameRead + 1
    int32_t lastFrameRead = 0;  // 0: taken before any frame was read
    int32_t countedFrom = 1;    // the frame of the latest jump
    bool mustJump = false;      // a frame failed: the next read starts afresh
    ChannelArray<int32_t> channelTotal{};
    ChannelArray<int32_t> lastFrameTotal{};
    ChannelArray<int32_t> frameCapacity{};
    ChannelArray<int32_t> classOverrides{};  // the classes a jump sets the limits from
    VerdictTally verdictTally{};             // verdicts since the latest jump (while explaining)

    bool operator==(const EngineCheckpoint&) const = default;
};

}  // namespace velkor
