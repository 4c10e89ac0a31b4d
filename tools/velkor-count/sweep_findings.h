// What a class sweep points to: the class whose count comes nearest to a count the user trusts,
// and the verdicts whose tallies a class changes most from the report's class.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/fish_classes.h"
#include "core/object_ending.h"

namespace velkor {

// The class 0..9 whose count is nearest to `reference`. Classes equally near side by side are one
// run, and the middle of the widest run wins (the larger middle class of an even run); of runs as
// wide, the one nearer the report's class, then the smaller.
int32_t nearestClass(const std::array<int32_t, fishClassCount>& counts, int64_t reference,
                     int32_t reportClass);

struct VerdictMove {
    EndingVerdict verdict = EndingVerdict::counted;
    int32_t from = 0;  // with the report's class
    int32_t to = 0;    // with the other class
};

// Up to `most` verdicts other than "counted" (the count itself shows that one) whose tallies
// differ between `from` and `to`, the largest change first; of equal changes, the verdict that
// comes first in the verdict order.
std::vector<VerdictMove> movedMost(const std::array<int32_t, endingVerdictCount>& from,
                                   const std::array<int32_t, endingVerdictCount>& to, size_t most);

}  // namespace velkor
