// The silhouette of one fish crossing the scan line: its body outline along its length (the time
// axis), its tilt and bend across the line, and the run of dark pixels it leaves on each line.
#pragma once

#include <array>
#include <cstdint>

namespace velkor::synth {

// A run of dark pixels on one scan line, both ends included.
struct PixelRun {
    int32_t left = 0;
    int32_t right = 0;
    bool operator==(const PixelRun&) const = default;
};

// Half-width of the outline as a fraction of the body's greatest width, sampled along the body
// from head (0) to tail end (1): a smooth body widest a third of the way back, a narrow tail stem
// and a flaring tail fin. Computed once; every fish reads it.
class BodyOutline {
public:
    BodyOutline();
    // Width fraction at position t in [0, 1] along the body.
    double widthFraction(double t) const;
    // Sideways displacement of a bent body at t, as a fraction of the bend (0 at head and tail).
    double bendFraction(double t) const;

    static constexpr double tailStemFraction = 0.40;  // narrowest part, in front of the fin
    static constexpr double finFraction = 0.62;       // the fin's spread at the tail end
    static constexpr double widestAt = 1.0 / 3.0;     // where the body is widest
    // Behind the widest part no run is drawn narrower than this (nor wider than the fish): the
    // counter drops runs of 5 pixels or less in the small classes once it has adapted, and a
    // thinner tail stem would cut the tail fin off as a second object.
    static constexpr double minTailPixels = 6.0;

private:
    static constexpr int samples = 256;
    using Table = std::array<double, samples + 1>;
    static double sample(const Table& table, double t);
    Table width_{};
    Table bend_{};
};

struct Fish {
    int64_t firstLine = 0;  // line (numbered from 1) of the head
    int32_t length = 0;     // lines the body spans
    double width = 0;       // greatest width in pixels
    double centre = 0;      // centre of the head on the scan line, pixels
    double drift = 0;       // sideways movement of the centre per line (tilt), pixels
    double bend = 0;        // sideways bow of the middle of the body, pixels
    int32_t channel = 0;    // index into the scene's channels
    int64_t lastLine() const { return firstLine + length - 1; }
};

// The run the fish covers on `line` (within firstLine..lastLine), before clipping to its channel.
PixelRun crossSection(const BodyOutline& outline, const Fish& fish, int64_t line);

}  // namespace velkor::synth
