// The stroke recognizer: straight strokes by their main direction, chevrons by their turning point.
#include "ui/picture/stroke_recognizer.h"

#include <cmath>
#include <cstdlib>

namespace velkor {
namespace {

double distance(const StrokePoint& a, const StrokePoint& b) {
    return std::hypot(double(b.x) - a.x, double(b.y) - a.y);
}

double pathLength(std::span<const StrokePoint> points) {
    double length = 0;
    for (size_t i = 1; i < points.size(); ++i) length += distance(points[i - 1], points[i]);
    return length;
}

// One arm of a chevron, from `from` to `to`: long enough, nearly straight, and slanted (neither
// flat nor upright), so that a straight stroke with a small hook is not taken for a chevron.
bool isSlantedArm(std::span<const StrokePoint> arm, const StrokeLimits& limits) {
    const StrokePoint& from = arm.front();
    const StrokePoint& to = arm.back();
    const double chord = distance(from, to);
    const double length = pathLength(arm);
    if (chord < 0.75 * limits.minLength || chord < limits.minStraightness * length) return false;
    const double dx = std::abs(double(to.x) - from.x);
    const double dy = std::abs(double(to.y) - from.y);
    return dx >= 0.3 * chord && dy >= 0.3 * chord;
}

// A chevron whose point is the stroke's leftmost (pointLeft) or rightmost point: both ends lie
// on the open side, one above the point and one below it, and both arms are slanted lines.
bool isChevron(std::span<const StrokePoint> points, bool pointLeft, const StrokeLimits& limits) {
    size_t apex = 0;
    for (size_t i = 1; i < points.size(); ++i) {
        if (pointLeft ? points[i].x < points[apex].x : points[i].x > points[apex].x) apex = i;
    }
    if (apex == 0 || apex + 1 == points.size()) return false;
    const StrokePoint& first = points.front();
    const StrokePoint& tip = points[apex];
    const StrokePoint& last = points.back();
    const bool firstAbove = first.y < tip.y;
    const bool lastBelow = last.y > tip.y;
    if (firstAbove != lastBelow) return false;  // both ends on the same side of the point
    return isSlantedArm(points.subspan(0, apex + 1), limits) &&
           isSlantedArm(points.subspan(apex), limits);
}

}  // namespace

StrokeGesture recognizeStroke(std::span<const StrokePoint> points, const StrokeLimits& limits) {
    if (points.size() < 2) return StrokeGesture::none;
    const double length = pathLength(points);
    if (length < limits.minLength) return StrokeGesture::none;

    if (isChevron(points, true, limits)) return StrokeGesture::sgiChevronLeft;
    if (isChevron(points, false, limits)) return StrokeGesture::sgiChevronRight;

    const StrokePoint& first = points.front();
    const StrokePoint& last = points.back();
    const double chord = distance(first, last);
    if (chord < limits.minLength || chord < limits.minStraightness * length) {
        return StrokeGesture::none;
    }
    const double dx = double(last.x) - first.x;
    const double dy = double(last.y) - first.y;
    if (std::abs(dx) >= limits.dominance * std::abs(dy)) {
        return dx < 0 ? StrokeGesture::sgiLeft : StrokeGesture::sgiRight;
    }
    if (std::abs(dy) >= limits.dominance * std::abs(dx)) {
        return dy < 0 ? StrokeGesture::sgiUp : StrokeGesture::sgiDown;
    }
    return StrokeGesture::none;  // a diagonal: no gesture
}

}  // namespace velkor
