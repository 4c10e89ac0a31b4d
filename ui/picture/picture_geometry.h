// The arithmetic of the window a user sees, as plain functions: the picture's vertical scale
// (skal) and the placement of the counter fields beside their channels (stillaafteljara).
#pragma once

#include <array>
#include <cstdint>

namespace velkor {

// Row of pixel j of the scan line in a picture H rows high: scanLeftEdge maps to row 0 and
// scanRightEdge to row H, just past the bottom. Equal edges would divide by zero; they are
// scaled as a counting area one pixel wide. The row is kept within +-1e6, far outside any picture.
int32_t skal(int32_t j, int32_t scanLeftEdge, int32_t scanRightEdge, int32_t H);

// Field positions for counter fields 1..4 (entry 0 unused).
inline constexpr int32_t hiddenFieldTop = -1000;
using CounterFieldTops = std::array<int32_t, 5>;

// Top of each counter field in a panel P pixels high: field i of channelCount sits at the middle
// of the i-th of channelCount equal bands, P x (2i - 1) div (2 x channelCount); fields beyond
// channelCount are put out of sight. A channel count outside 1..4 is held within it.
CounterFieldTops counterFieldTops(int32_t P, int32_t channelCount);

}  // namespace velkor
