// A checkpoint of the count in a compact form, for keeping hundreds of them in memory: most of a
// checkpoint is its two line arrays, of which a line uses the first few dozen entries and the rest
// stay zero, so runs of zero words are stored as their length. The form holds every byte of the
// checkpoint, stale entries too, so that it restores to a checkpoint equal to the one taken,
// whatever fields the core's state holds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "replay/engine_checkpoint.h"

namespace velkor {

static_assert(std::is_trivially_copyable_v<EngineCheckpoint>,
              "a checkpoint is copied word by word into its compact form");
static_assert(sizeof(EngineCheckpoint) % sizeof(uint32_t) == 0);

// Words of a whole checkpoint.
inline constexpr size_t checkpointWords = sizeof(EngineCheckpoint) / sizeof(uint32_t);
static_assert(checkpointWords < 65536, "a run's length is held in 16 bits");
// Words of the compact form at most: a run header for every literal and two zeros.
inline constexpr size_t maxCompactWords = checkpointWords + checkpointWords / 2 + 2;

// Writes the compact form of `checkpoint` into `out` (room for maxCompactWords) and returns the
// words written.
size_t compactCheckpoint(const EngineCheckpoint& checkpoint, uint32_t* out);

// Restores a checkpoint from its compact form of `words` words; false (and `into` unspecified)
// when the words are not a compact form of a whole checkpoint.
bool expandCheckpoint(const uint32_t* compact, size_t words, EngineCheckpoint& into);

}  // namespace velkor
