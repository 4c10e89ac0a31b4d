// The size class table: ten classes named by the typical weight of a fish, with the limits the
// segmentation and pairing use and the nominal size that seeds each channel's running means.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "core/extended_precision.h"

namespace velkor {

struct FishClass {
    std::string_view name;    // "0.1 g" ... "3 Kg"
    int32_t minSegmentWidth;  // px
    int32_t mergeGap;         // px
    int32_t lengthFloor;      // lines
    int32_t widthFloorMm;     // mm
    int32_t nominalLength;    // lines
    int32_t nominalWidthMm;   // mm
};

inline constexpr int fishClassCount = 10;
extern const std::array<FishClass, fishClassCount> fishClassTable;

// Clamps a stored class index to 0..9.
inline int32_t clampSizeGroup(int32_t g) {
    return g < 0 ? 0 : (g > 9 ? 9 : g);
}

// The class name for a (clamped) class index.
std::string_view fishClassName(int32_t sizeGroup);

// Pixel width of a width in mm over the counting area: truncated(span * mm / counterWidthMm
// * 500 / 511), evaluated left to right in long double with span * mm an integer product.
// A counterWidthMm of 0 raises OverflowError.
int32_t pixelWidth(int32_t span, int32_t mm, int32_t counterWidthMm);

// Segment parameters and edge smoothing that the automatic adaptation gives a channel whose
// minArea is up to upTo (and above the previous row's upTo).
struct AdaptationRow {
    int32_t upTo;
    int32_t minSegmentWidth;
    int32_t mergeGap;
    int32_t edgeAngleWeight;
};

// The row for a minArea, or nullptr above 10000 (the channel keeps its segment parameters).
const AdaptationRow* adaptationRowFor(int32_t minArea);

}  // namespace velkor
