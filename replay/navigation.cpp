// Track bar arithmetic of the navigation.
#include "replay/navigation.h"

#include <cmath>
#include <limits>

namespace velkor {

int32_t truncateToInt32(long double x) {
    if (std::isnan(x)) return 0;
    constexpr long double lo = std::numeric_limits<int32_t>::min();
    constexpr long double hi = std::numeric_limits<int32_t>::max();
    if (x <= lo) return std::numeric_limits<int32_t>::min();
    if (x >= hi) return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(x);
}

int32_t trackBarMaximum(int32_t frameCount) {
    return frameCount >= 100 ? 100 : frameCount;
}

int32_t positionForFrame(int32_t frame, int32_t frameCount, int32_t maximum) {
    if (frameCount == 0) return 0;
    return truncateToInt32(static_cast<long double>(frame) / frameCount * maximum);
}

int32_t frameForPosition(int32_t position, int32_t maximum, int32_t frameCount) {
    if (maximum == 0) return 1;
    const int32_t frame =
        truncateToInt32(static_cast<long double>(position) / maximum * frameCount);
    return frame == 0 ? 1 : frame;
}

}  // namespace velkor
