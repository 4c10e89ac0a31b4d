// The track bar <-> frame arithmetic of the View Record window's navigation, as plain functions so
// that the window and the engine share one tested rule. Quotients and products are evaluated left
// to right in long double and truncated toward zero.
#pragma once

#include <cstdint>

namespace velkor {

// The track bar's maximum for a recording of frameCount frames: frameCount, but 100 from 100 on.
int32_t trackBarMaximum(int32_t frameCount);

// Thumb position for a frame reached by a button: truncated(frame / frameCount * maximum).
int32_t positionForFrame(int32_t frame, int32_t frameCount, int32_t maximum);

// Frame for a thumb position the user chose: truncated(position / maximum * frameCount), and 1
// when that is 0.
int32_t frameForPosition(int32_t position, int32_t maximum, int32_t frameCount);

}  // namespace velkor
