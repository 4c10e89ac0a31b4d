// The per-frame capacity of a channel and the overload correction of a crowded frame, as plain
// functions. Floating point is long double, evaluated left to right; truncation is toward zero
// and held within the Integer range.
#pragma once

#include <cstdint>
#include <string>

namespace velkor {

// Objects one frame of a channel holds before the overload correction applies:
// s := sqrt(avgArea / (scanRightEdge - scanLeftEdge) * 511) + 11;
// truncated((rightEdge - leftEdge) * W / s^2 / 25), the pixel width times W an Integer product
// (overflow-checked). A zero counting span, or a mean area that makes s undefined, gives 0: the
// channel then has no capacity and is never corrected.
int32_t frameCapacity(double avgArea, int32_t scanLeftEdge, int32_t scanRightEdge, int32_t leftEdge,
                      int32_t rightEdge, int32_t W);

// Objects added to a channel that counted d objects in a frame of capacity `capacity`:
// truncated((d * 0.09 / capacity - 0.07) * d) when d > capacity > 0, else 0.
int32_t overloadCorrection(int32_t d, int32_t capacity);

// The window caption: channel 1's capacity in objects per minute, capacity / W * 1116 * 60,
// as a whole number rounded half away from zero.
std::string capacityCaption(int32_t capacity, int32_t W);

}  // namespace velkor
