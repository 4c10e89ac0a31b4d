// Reading a class sweep: the nearest class and the verdicts that moved.
#include "tools/velkor-count/sweep_findings.h"

#include <algorithm>
#include <cstdlib>

namespace velkor {

int32_t nearestClass(const std::array<int32_t, fishClassCount>& counts, int64_t reference,
                     int32_t reportClass) {
    auto distance = [&](int32_t k) -> int64_t {
        return std::llabs(int64_t{counts[k]} - reference);
    };
    int64_t nearest = distance(0);
    for (int32_t k = 1; k < fishClassCount; ++k) nearest = std::min(nearest, distance(k));

    // Classes that count alike lie side by side: fish that suit a class are accepted by its
    // neighbours too. The middle of the widest such run is the class the fish sit well inside;
    // with an even run, the larger of the two middle ones.
    int32_t best = -1, bestLength = 0;
    for (int32_t first = 0; first < fishClassCount;) {
        if (distance(first) != nearest) {
            ++first;
            continue;
        }
        int32_t length = 1;
        while (first + length < fishClassCount && distance(first + length) == nearest) ++length;
        const int32_t middle = first + length / 2;
        // Runs as wide: the one whose middle is nearer the report's class, then the smaller.
        if (length > bestLength || (length == bestLength && std::abs(middle - reportClass) <
                                                                std::abs(best - reportClass))) {
            best = middle;
            bestLength = length;
        }
        first += length;
    }
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
