// The frame store: one column per line of the frame read last (columns 0..2000), each holding the
// objects of that line as (left, right) pairs of 16-bit values. Entry 0's left is the number of
// objects; entries 1..number are the objects' v and h, left to right.
#pragma once

#include <array>
#include <cstdint>

#include "core/tskepna.h"
#include "io/counter_constants.h"

namespace velkor {

struct FrameStoreEntry {
    int16_t left = 0;
    int16_t right = 0;
};

using FrameStoreColumn = std::array<FrameStoreEntry, lineCapacity + 1>;
using FrameStore = std::array<FrameStoreColumn, maxFrameWidth>;

}  // namespace velkor
