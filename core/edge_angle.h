// The edge angle of an integer edge shift d: trunc(arctan(d) * 57.0) degrees, arctan in radians.
// Taken from a table that equals the formula for every d: arctan(d) * 57 lies at least 0.002
// away from every integer for 0 <= |d| <= 106 and exceeds 89 (approaching 89.54) from |d| = 107
// on, so the angle is 89 there. Edges move either way from line to line, so the lookup is a
// clamp and an index, without a branch on the sign.
#pragma once

#include <cstdint>

namespace velkor {

inline constexpr int32_t edgeAngleSaturation = 107;

// Entry d + 107 = trunc(arctan(d) * 57.0) for d = -107..107.
inline constexpr int8_t edgeAngleTable[2 * edgeAngleSaturation + 1] = {
    -89, -88, -88, -88, -88, -88, -88, -88, -88, -88, -88, -88, -88, -88, -88, -88, -88, -88,
    -88, -88, -88, -88, -88, -88, -88, -88, -88, -88, -88, -88, -88, -88, -88, -88, -88, -88,
    -88, -88, -88, -88, -88, -88, -88, -88, -88, -88, -88, -88, -88, -88, -88, -88, -88, -88,
    -88, -88, -88, -88, -88, -88, -88, -88, -88, -88, -88, -88, -88, -88, -88, -88, -87, -87,
    -87, -87, -87, -87, -87, -87, -87, -87, -87, -87, -87, -87, -87, -86, -86, -86, -86, -86,
    -86, -85, -85, -85, -85, -84, -84, -83, -83, -82, -81, -80, -78, -75, -71, -63, -44, 0,
    44,  63,  71,  75,  78,  80,  81,  82,  83,  83,  84,  84,  85,  85,  85,  85,  86,  86,
    86,  86,  86,  86,  87,  87,  87,  87,  87,  87,  87,  87,  87,  87,  87,  87,  87,  87,
    87,  88,  88,  88,  88,  88,  88,  88,  88,  88,  88,  88,  88,  88,  88,  88,  88,  88,
    88,  88,  88,  88,  88,  88,  88,  88,  88,  88,  88,  88,  88,  88,  88,  88,  88,  88,
    88,  88,  88,  88,  88,  88,  88,  88,  88,  88,  88,  88,  88,  88,  88,  88,  88,  88,
    88,  88,  88,  88,  88,  88,  88,  88,  88,  88,  88,  88,  88,  88,  88,  88,  89,
};

inline int32_t edgeAngle(int32_t d) {
    d = d < -edgeAngleSaturation ? -edgeAngleSaturation : d;
    d = d > edgeAngleSaturation ? edgeAngleSaturation : d;
    return edgeAngleTable[d + edgeAngleSaturation];
}

}  // namespace velkor
