// Frame capacity, overload correction and the capacity caption.
#include "replay/frame_capacity.h"

#include <cmath>
#include <cstdio>

#include "core/checked_math.h"
#include "io/conversions.h"
#include "io/counter_constants.h"

namespace velkor {

int32_t frameCapacity(double avgArea, int32_t scanLeftEdge, int32_t scanRightEdge, int32_t leftEdge,
                      int32_t rightEdge, int32_t W) {
    const int32_t span = checkedSub(scanRightEdge, scanLeftEdge, "scan span");
    if (span == 0) return 0;
    const int32_t pixelsTimesW =
        checkedMul(checkedSub(rightEdge, leftEdge, "channel width"), W, "channel width * W");
    const long double s = std::sqrt(static_cast<long double>(avgArea) / span * 511) + 11;
    const long double capacity = pixelsTimesW / (s * s) / 25;
    if (!std::isfinite(capacity)) return 0;
    return saturatingTruncateToInt32(capacity);
}

int32_t overloadCorrection(int32_t d, int32_t capacity) {
    if (!(d > capacity && capacity > 0)) return 0;
    const long double dd = d;
    return saturatingTruncateToInt32((dd * 0.09L / capacity - 0.07L) * dd);
}

std::string capacityCaption(int32_t capacity, int32_t W) {
    if (W == 0) return "0";
    const long double perMinute =
        std::round(static_cast<long double>(capacity) / W * linesPerSecond * 60);
    char text[64];
    std::snprintf(text, sizeof text, "%.0Lf", perMinute == 0 ? 0.0L : perMinute);
    return text;
}

}  // namespace velkor
