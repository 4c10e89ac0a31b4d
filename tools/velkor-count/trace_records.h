// The records of velkor-count --trace: one "closed" record per counted object and one record per
// frame read, and with --explain an "ended" record per object that ends. One home for them, so
// that every count that writes a trace (velkor-count's, and the tests' replays from a checkpoint)
// writes the same bytes.
#pragma once

#include <cstdint>
#include <functional>

#include "replay/replay_engine.h"
#include "tools/velkor-count/json_line.h"

namespace velkor {

// Hooks the trace to `engine`'s callbacks (with `explain` it turns explaining on as well): every
// record is made in `line` and then `emit` is called with the frame it belongs to, which writes
// it or leaves it. The engine, `line` and `emit` must outlive the count.
void hookTrace(ReplayEngine& engine, bool explain, LineBuilder& line,
               std::function<void(int32_t frame)> emit);

}  // namespace velkor
