// The hand count's line.
#include "tools/velkor-count/hand_count_text.h"

#include <cstdint>

#include "settings/recorded_figures.h"

namespace velkor {

std::string handCountText(int64_t handCount, std::optional<int64_t> replay) {
    const std::string head = "hand count " + std::to_string(handCount) + ": replay ";
    if (!replay) return head + "counting ...";
    // Every hand count the notes file holds fits the recorded figures' range.
    const std::string percent =
        handCount <= INT32_MAX
            ? formatDifference(differencePercent(*replay, static_cast<int32_t>(handCount)))
            : std::string();
    if (!percent.empty()) return head + std::to_string(*replay) + " (" + percent + ")";
    const int64_t d = *replay - handCount;
    return head + std::to_string(*replay) + " (" + (d > 0 ? "+" : "") + std::to_string(d) + ")";
}

}  // namespace velkor
