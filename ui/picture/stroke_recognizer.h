// The stroke recognizer: turns the points of one stroke drawn on the picture (with the mouse or a
// finger) into one of the six gestures the window knows, or into nothing when the stroke is not
// clearly one of them. A pure function over a point list, so it is tested with drawn shapes.
#pragma once

#include <cstdint>
#include <span>

namespace velkor {

enum class StrokeGesture {
    none,
    sgiLeft,          // a stroke to the left
    sgiRight,         // a stroke to the right
    sgiUp,            // a stroke upwards
    sgiDown,          // a stroke downwards
    sgiChevronLeft,   // '<': down-left then down-right (or the same upwards)
    sgiChevronRight,  // '>': down-right then down-left (or the same upwards)
};

// A point of a stroke in widget pixels; y grows downwards.
struct StrokePoint {
    int32_t x = 0;
    int32_t y = 0;
};

struct StrokeLimits {
    // A straight stroke or a chevron's arm shorter than this is no gesture (a click, a wobble).
    double minLength = 40;
    // A straight stroke's main direction must exceed its cross direction by this factor.
    double dominance = 2.0;
    // Straightness: the distance from start to end over the length of the path drawn.
    double minStraightness = 0.8;
};

StrokeGesture recognizeStroke(std::span<const StrokePoint> points, const StrokeLimits& limits = {});

}  // namespace velkor
