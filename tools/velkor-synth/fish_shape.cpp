// Body outline of a fish and its cross-section on a scan line.
#include "tools/velkor-synth/fish_shape.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace velkor::synth {

namespace {

// The body proper ends here; the tail stem and fin follow.
constexpr double bodyEnd = 0.78;
constexpr double widestAt = BodyOutline::widestAt;

double outlineAt(double t) {
    if (t >= bodyEnd) {
        // The fin widens from the stem toward the tail end.
        double u = (t - bodyEnd) / (1.0 - bodyEnd);
        return BodyOutline::tailStemFraction +
               (BodyOutline::finFraction - BodyOutline::tailStemFraction) * u;
    }
    // A sine arch over the body, its axis stretched so that the crest sits at widestAt.
    static const double exponent = std::log(0.5) / std::log(widestAt / bodyEnd);
    double arch = std::sin(std::numbers::pi * std::pow(t / bodyEnd, exponent));
    // Behind the crest the body tapers only down to the tail stem.
    if (t > widestAt) arch = std::max(arch, BodyOutline::tailStemFraction);
    return arch;
}

}  // namespace

BodyOutline::BodyOutline() {
    for (int i = 0; i <= samples; ++i) {
        double t = static_cast<double>(i) / samples;
        width_[i] = outlineAt(t);
        bend_[i] = std::sin(std::numbers::pi * t);
    }
}

double BodyOutline::sample(const Table& table, double t) {
    double x = std::clamp(t, 0.0, 1.0) * samples;
    int i = std::min(static_cast<int>(x), samples - 1);
    double f = x - i;
    return table[i] + (table[i + 1] - table[i]) * f;
}

double BodyOutline::widthFraction(double t) const {
    return sample(width_, t);
}
double BodyOutline::bendFraction(double t) const {
    return sample(bend_, t);
}

PixelRun crossSection(const BodyOutline& outline, const Fish& fish, int64_t line) {
    int64_t k = line - fish.firstLine;
    double t = (static_cast<double>(k) + 0.5) / fish.length;
    double w = std::max(1.0, fish.width * outline.widthFraction(t));
    if (t > BodyOutline::widestAt)
        w = std::max(w, std::min(BodyOutline::minTailPixels, fish.width));
    double centre =
        fish.centre + fish.drift * static_cast<double>(k) + fish.bend * outline.bendFraction(t);
    int32_t pixels = static_cast<int32_t>(std::lround(w));
    int32_t left = static_cast<int32_t>(std::lround(centre - 0.5 * pixels));
    return PixelRun{left, left + pixels - 1};
}

}  // namespace velkor::synth
