// Track bar arithmetic of the navigation.
#include "replay/navigation.h"

#include "io/conversions.h"

namespace velkor {

int32_t trackBarMaximum(int32_t frameCount) {
    return frameCount >= 100 ? 100 : frameCount;
}

int32_t positionForFrame(int32_t frame, int32_t frameCount, int32_t maximum) {
    if (frameCount == 0) return 0;
    return saturatingTruncateToInt32(static_cast<long double>(frame) / frameCount * maximum);
}

int32_t frameForPosition(int32_t position, int32_t maximum, int32_t frameCount) {
    if (maximum == 0) return 1;
    const int32_t frame =
        saturatingTruncateToInt32(static_cast<long double>(position) / maximum * frameCount);
    return frame == 0 ? 1 : frame;
}

}  // namespace velkor
