// Reading a class sweep: the nearest class and the verdicts that moved.
#include "tools/velkor-count/sweep_findings.h"

#include <algorithm>
#include <cstdlib>

namespace velkor {

int32_t nearestClass(const std::array<int32_t, fishClassCount>& counts, int64_t reference,
                     int32_t reportClass) {
    int32_t best = -1;
    auto key = [&](int32_t k) {
        // Nearness to the reference, then to the report's class, then the smaller class.
        return std::array<int64_t, 3>{std::llabs(counts[k] - reference), std::abs(k - reportClass),
                                      k};
    };
    for (int32_t k = 0; k < fishClassCount; ++k)
        if (best < 0 || key(k) < key(best)) best = k;
    return best;
}

std::vector<VerdictMove> movedMost(const std::array<int32_t, endingVerdictCount>& from,
                                   const std::array<int32_t, endingVerdictCount>& to, size_t most) {
    std::vector<VerdictMove> moves;
    for (int v = 0; v < endingVerdictCount; ++v) {
        const auto verdict = static_cast<EndingVerdict>(v);
        if (verdict != EndingVerdict::counted && from[v] != to[v])
            moves.push_back({verdict, from[v], to[v]});
    }
    // Stable: equal changes keep the verdict order.
    std::stable_sort(moves.begin(), moves.end(), [](const VerdictMove& a, const VerdictMove& b) {
        return std::llabs(int64_t{a.to} - a.from) > std::llabs(int64_t{b.to} - b.from);
    });
    if (moves.size() > most) moves.resize(most);
    return moves;
}

}  // namespace velkor
