// Counting a whole recording as stepping forward from frame 1 to the last frame would: the count
// that velkor-count prints and that the window's background count shows.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "replay/replay_engine.h"

namespace velkor {

// Opens `recording` in `engine` (which reads frame 1) and reads every following frame in order.
// `afterFrame`, if set, is called after every frame with (frames read, frame count) and stops
// the count early by returning false. Returns false when the recording could not be opened
// (engine.message() says why) or the count was stopped; errors are raised as the engine raises
// them.
bool countWholeRecording(ReplayEngine& engine, const std::string& recording,
                         const std::function<bool(int32_t, int32_t)>& afterFrame = {});

}  // namespace velkor
