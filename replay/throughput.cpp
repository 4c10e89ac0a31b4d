// Throughput arithmetic: the tally of counted objects per bin of lines, the replay's curve and the
// recorded curve's mean over a stretch of time.
#include "replay/throughput.h"

#include <algorithm>
#include <cmath>

namespace velkor {

void ThroughputTally::count(int32_t line, int32_t channel) {
    if (line < 1 || channel < 1 || channel > 4) return;
    const auto bin = static_cast<size_t>((line - 1) / linesPerBin_);
    if (bin >= bins_.size()) {
        if (bin >= bins_.capacity()) bins_.reserve(std::max(bin + 1, 2 * bins_.capacity()));
        bins_.resize(bin + 1, {});
    }
    ++bins_[bin][static_cast<size_t>(channel - 1)];
}

int32_t ThroughputTally::at(int64_t bin, int32_t channel) const {
    if (bin < 0 || static_cast<size_t>(bin) >= bins_.size() || channel < 1 || channel > 4) return 0;
    return bins_[static_cast<size_t>(bin)][static_cast<size_t>(channel - 1)];
}

int64_t binCount(int64_t lineCount, int32_t linesPerBin) {
    if (lineCount <= 0 || linesPerBin < 1) return 0;
    return (lineCount + linesPerBin - 1) / linesPerBin;
}

ThroughputCurve replayCurve(const ThroughputTally& tally, int32_t channel, int64_t lineCount,
                            double sessionStart, int32_t maxPoints) {
    ThroughputCurve curve;
    const int64_t bins = binCount(lineCount, tally.linesPerBin());
    if (bins == 0) return curve;
    const int64_t merged =
        std::max<int64_t>(1, (bins + std::max(1, maxPoints) - 1) / std::max(1, maxPoints));
    const double start = sessionStart - std::trunc(sessionStart);
    const double linesPerPoint = static_cast<double>(merged) * tally.linesPerBin();
    curve.reserve(static_cast<size_t>((bins + merged - 1) / merged));
    for (int64_t first = 0; first < bins; first += merged) {
        int64_t objects = 0;
        for (int64_t b = first; b < first + merged && b < bins; ++b)
            objects += tally.at(b, channel);
        const int64_t lastLine = std::min(lineCount, (first + merged) * tally.linesPerBin());
        curve.emplace_back(start + static_cast<double>(lastLine) / linesPerDay,
                           static_cast<double>(objects) * linesPerMinute / linesPerPoint);
    }
    return curve;
}

std::optional<double> curveMean(const ThroughputCurve& curve, double from, double to) {
    if (curve.size() <= 2 || !(to > from)) return std::nullopt;
    // The points on one time line: a time of day far below the one before has passed midnight.
    ThroughputCurve points = curve;
    for (size_t i = 1; i < points.size(); ++i) {
        while (points[i].first < points[i - 1].first - 0.5) points[i].first += 1;
    }
    std::stable_sort(points.begin(), points.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    // The stretch on the same time line as the curve's first point.
    while (from < points.front().first - 0.5) {
        from += 1;
        to += 1;
    }
    double area = 0, covered = 0;
    for (size_t i = 0; i + 1 < points.size(); ++i) {
        const auto [x0, y0] = points[i];
        const auto [x1, y1] = points[i + 1];
        if (!(x1 > x0)) continue;
        const double l = std::max(from, x0), r = std::min(to, x1);
        if (!(r > l)) continue;
        const double yl = y0 + (y1 - y0) * (l - x0) / (x1 - x0);
        const double yr = y0 + (y1 - y0) * (r - x0) / (x1 - x0);
        area += (yl + yr) / 2 * (r - l);
        covered += r - l;
    }
    if (!(covered > 0)) return std::nullopt;
    return area / covered;
}

}  // namespace velkor
