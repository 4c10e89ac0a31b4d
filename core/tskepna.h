// The object record and the fixed capacities of the line analysis core.
//
// One record type serves three roles: a raw or filtered segment (only v and h set), a live object
// of a line, and a closed object handed on to be counted.
#pragma once

#include <array>
#include <cstdint>

namespace velkor {

// Segments or objects one line array holds (entries 1..500; entry 0 is a sentinel).
inline constexpr int lineCapacity = 500;
// Objects that can close on one line (entries 1..500 of the closed list). Every object of a line
// may close on that line, so the closed list is as large as a line array: no counted object is
// ever dropped.
inline constexpr int closedCapacity = 500;
// Channels of the channel table, numbered 1..4.
inline constexpr int maxChannels = 4;

struct tskepna {
    int32_t lengd = 0;         // lines the object spans so far
    int32_t v = 0;             // left end of its segment on the latest line
    int32_t h = 0;             // right end of its segment on the latest line
    int32_t breidd = 0;        // largest segment width seen
    int32_t xv = 0;            // smallest v reached
    int32_t xh = 0;            // largest h reached
    int32_t flatarmal = 0;     // area: sum of segment widths, with shares of split pieces
    int32_t litur = 0;         // colour; carried along, read by nothing
    int32_t sjalfs_lengd = 0;  // lines since the object became a piece of a split
    int32_t sjalfs_flat = 0;   // area gathered since the object became a piece of a split
    int32_t klofinn = 0;       // 0, or the split group the object is a piece of
    int32_t vsn = 0;           // smoothed left edge angle, degrees
    int32_t hsn = 0;           // smoothed right edge angle, degrees
    int32_t inte = 0;          // area over the current run of lines advancing the shape state
    int32_t astand = 0;        // shape state 0..3
    bool K_sami_fiskur = false;  // the piece belongs to the same fish as its siblings

    bool operator==(const tskepna&) const = default;
};

// A line array: entries 0..500, entry 0 the sentinel.
using LineArray = std::array<tskepna, lineCapacity + 1>;

// The closed list: entries 1..closedCount hold the objects closed on one line, left to right.
using tlokid = std::array<tskepna, closedCapacity + 1>;

}  // namespace velkor
