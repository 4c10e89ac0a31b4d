// What a class sweep points to: the class whose count comes nearest to a count the user trusts,
// and the verdicts whose tallies a class changes most from the report's class.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/fish_classes.h"
#include "core/object_ending.h"

namespace velkor {

// The class 0..9 whose count is nearest to `reference`. Of classes equally near, the one fewest
// classes away from the report's wins (the smallest change to what the operator set), and of two
// as far away on either side, the smaller class.
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
