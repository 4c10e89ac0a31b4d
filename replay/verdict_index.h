// Where in a session the objects of each verdict end: per channel and verdict, the frames (at
// one frame width) in which at least one such object ended, so that the window can jump from one
// to the next. Filled in frame order by the run that counts; a frame is kept once per list however
// many objects of that verdict end in it, so a list never holds more entries than the session
// has frames (4 bytes each).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/core_state.h"
#include "core/object_ending.h"

namespace velkor {

class VerdictIndex {
public:
    // An object of `verdict` ended in `frame` on `channel` (1..4); frames come in ascending order.
    void add(int32_t frame, int32_t channel, EndingVerdict verdict);
    // Gives back the memory held beyond the entries, once the session has been counted.
    void shrink();

    // The frames, ascending and each once, where objects of `verdict` ended on `channel`.
    const std::vector<int32_t>& frames(int32_t channel, EndingVerdict verdict) const;
    // The first such frame after `frame`, wrapping to the first one; 0 when there is none.
    int32_t next(int32_t channel, EndingVerdict verdict, int32_t frame) const;
    // The last such frame before `frame`, wrapping to the last one; 0 when there is none.
    int32_t previous(int32_t channel, EndingVerdict verdict, int32_t frame) const;
    // The bytes the lists hold, their spare capacity included.
    std::size_t memoryBytes() const;

private:
    std::array<std::array<std::vector<int32_t>, endingVerdictCount>, maxChannels + 1> frames_;
};

}  // namespace velkor
