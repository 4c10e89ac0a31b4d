// Any frame as a session's continuous count had it: the window's engine is put where the count
// stood before the frame, from the nearest checkpoint the count has kept (or from frame 1 when it
// has kept none before it yet), by reading on frame by frame; the frame itself is then read as the
// count read it, with the same objects, verdicts and totals. Reading on draws nothing and reports
// nothing through the engine's callbacks; it can be followed and cancelled between frames.
#pragma once

#include <cstdint>
#include <functional>

#include "replay/checkpoint_store.h"
#include "replay/replay_engine.h"

namespace velkor {

enum class SeekOutcome {
    reached,     // the engine stands before the frame (seekAsCounted) or shows it (readAsCounted)
    cancelled,   // stopped by the progress callback; see seekAsCounted
    otherCount,  // nothing done: no recording open, no such frame, or the store's frames are of
                 // another width than the engine's
};

// Called after every frame read on with (frames read, frames to read); false cancels.
using SeekProgress = std::function<bool(int32_t, int32_t)>;

// Puts `engine` (open on the recording of the count that fills `store`) where that count stood
// after frame `frame` - 1, with the count's classes, so that FarwardbtnClick reads `frame` as the
// count did; for frame 1, a read of frame 1 starts afresh as the count did. The store may still be
// filling: a frame beyond its reach is read on from its latest checkpoint. Cancelled, the engine
// holds the count after the last frame read on, and the frame shown is no longer drawn.
SeekOutcome seekAsCounted(ReplayEngine& engine, const CheckpointStore& store, int32_t frame,
                          const SeekProgress& progress = {});

// seekAsCounted, then reads `frame` itself with the engine's callbacks and drawing as set.
SeekOutcome readAsCounted(ReplayEngine& engine, const CheckpointStore& store, int32_t frame,
                          const SeekProgress& progress = {});

}  // namespace velkor
