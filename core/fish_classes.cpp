// The size class table, its names and the conversion of a width in mm to pixels of the counting
// area.
#include "core/fish_classes.h"

#include <cmath>

#include "core/checked_math.h"

namespace velkor {

// name, min segment width, merge gap, length floor, width floor mm, nominal length, nominal mm
const std::array<FishClass, fishClassCount> fishClassTable{{
    {"0.1 g", 1, 0, 2, 2, 8, 9},
    {"0.3 g", 1, 0, 2, 2, 12, 11},
    {"1 g", 2, 1, 2, 3, 15, 14},
    {"3 g", 3, 2, 3, 4, 21, 20},
    {"10 g", 4, 3, 4, 6, 32, 29},
    {"30 g", 5, 4, 6, 8, 46, 42},
    {"100 g", 6, 5, 8, 12, 68, 63},
    {"300 g", 8, 7, 12, 18, 99, 91},
    {"1 Kg", 10, 9, 14, 23, 147, 136},
    {"3 Kg", 12, 11, 22, 34, 212, 196},
}};

const AdaptationRow* adaptationRowFor(int32_t minArea) {
    static constexpr AdaptationRow rows[] = {
        {17, 4, 4, 45},  {34, 4, 4, 42},  {70, 4, 4, 34},   {150, 4, 4, 30},
        {350, 6, 5, 33}, {700, 7, 6, 33}, {1500, 8, 7, 30}, {10000, 10, 9, 28},
    };
    for (const AdaptationRow& row : rows) {
        if (minArea <= row.upTo) return &row;
    }
    return nullptr;
}

std::string_view fishClassName(int32_t sizeGroup) {
    return fishClassTable[clampSizeGroup(sizeGroup)].name;
}

int32_t pixelWidth(int32_t span, int32_t mm, int32_t counterWidthMm) {
    // One extended-precision operation at a time, left to right: the order decides the last
    // pixel in common configurations.
    long double x = checkedMul(span, mm, "pixel width");
    x /= counterWidthMm;
    x *= 500;
    x /= 511;
    return checkedTruncateToInt32(x, "pixel width");
}

}  // namespace velkor
