// The picture's scale and the counter field placement.
#include "ui/picture/picture_geometry.h"

#include <algorithm>

namespace velkor {

int32_t skal(int32_t j, int32_t scanLeftEdge, int32_t scanRightEdge, int32_t H) {
    double span = double(scanRightEdge) - double(scanLeftEdge);
    if (span == 0) span = 1;
    const double y = (double(j) - double(scanLeftEdge)) / span * double(H);
    return int32_t(std::clamp(y, -1e6, 1e6));  // the conversion truncates toward zero
}

CounterFieldTops counterFieldTops(int32_t P, int32_t channelCount) {
    const int32_t n = std::clamp(channelCount, 1, 4);
    CounterFieldTops tops{};
    for (int32_t i = 1; i <= 4; ++i) {
        tops[i] = i <= n ? int32_t(int64_t(P) * (2 * i - 1) / (2 * n)) : hiddenFieldTop;
    }
    return tops;
}

}  // namespace velkor
