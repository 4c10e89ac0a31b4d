// Counting a whole recording as stepping forward from frame 1 to the last frame would: the count
// that velkor-count prints and that the window's background count shows.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "replay/replay_engine.h"
#include "settings/Tsett.h"

namespace velkor {

// A replay engine that counts without a window: a settings set of its own, of which only the
// counter type (it decides the overload correction) comes from the caller, no settings store to
// write, and no frame store, since nothing is drawn. The window's background count and every
// velkor-count output make theirs here, so they count alike.
struct HeadlessEngine {
    HeadlessEngine(int32_t frameWidth, int32_t counterType);

    Tsett settings;
    ReplayEngine engine;
};

// Opens `recording` in `engine` (which reads frame 1) and reads every following frame in order.
// `afterFrame`, if set, is called after every frame with (frames read, frame count) and stops
// the count early by returning false. Returns false when the recording could not be opened
// (engine.message() says why) or the count was stopped; errors are raised as the engine raises
// them.
bool countWholeRecording(ReplayEngine& engine, const std::string& recording,
                         const std::function<bool(int32_t, int32_t)>& afterFrame = {});

}  // namespace velkor
