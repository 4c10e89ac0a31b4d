// The edge angle of an integer edge shift d: trunc(arctan(d) * 57.0) degrees, arctan in radians.
// Taken from a table that equals the formula for every d: arctan(d) * 57 lies at least 0.002
// away from every integer for 0 <= |d| <= 106 and exceeds 89 (approaching 89.54) from |d| = 107
// on, so the angle is 89 there. The formula is odd in d.
#pragma once

#include <cstdint>

namespace velkor {

inline constexpr int32_t edgeAngleSaturation = 107;

// Entry d = trunc(arctan(d) * 57.0) for d = 0..107.
inline constexpr int8_t edgeAngleTable[edgeAngleSaturation + 1] = {
    0,  44, 63, 71, 75, 78, 80, 81, 82, 83, 83, 84, 84, 85, 85, 85, 85, 86, 86, 86, 86, 86,
    86, 87, 87, 87, 87, 87, 87, 87, 87, 87, 87, 87, 87, 87, 87, 87, 88, 88, 88, 88, 88, 88,
    88, 88, 88, 88, 88, 88, 88, 88, 88, 88, 88, 88, 88, 88, 88, 88, 88, 88, 88, 88, 88, 88,
    88, 88, 88, 88, 88, 88, 88, 88, 88, 88, 88, 88, 88, 88, 88, 88, 88, 88, 88, 88, 88, 88,
    88, 88, 88, 88, 88, 88, 88, 88, 88, 88, 88, 88, 88, 88, 88, 88, 88, 88, 88, 89,
};

inline int32_t edgeAngle(int32_t d) {
    if (d >= 0) return edgeAngleTable[d < edgeAngleSaturation ? d : edgeAngleSaturation];
    return -edgeAngleTable[d > -edgeAngleSaturation ? -d : edgeAngleSaturation];
}

}  // namespace velkor
