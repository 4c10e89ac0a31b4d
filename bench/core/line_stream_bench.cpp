// Throughput of segmentation and pairing on a long stream of realistic scan lines: fish of a
// few tens of lines and pixels crossing two channels, a few in view on every line, some of
// them touching so that splits and merges occur. Reports lines per second.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "core/TForm2.h"
#include "core/segmentation.h"

namespace {

using velkor::CoreState;
using velkor::TForm2;

// Lines stored as the reader hands them: a count, then (v, h) pairs.
struct LineStream {
    std::vector<int32_t> firstRun;  // index into runs of each line's first run; one extra entry
    std::vector<int16_t> runs;      // v, h, v, h, ...
};

struct Fish {
    int32_t firstLine, length, centre, width;
};

LineStream makeStream(int32_t lineCount, uint32_t seed) {
    std::mt19937 rng(seed);
    auto pick = [&](int32_t lo, int32_t hi) {
        return std::uniform_int_distribution<int32_t>(lo, hi)(rng);
    };
    // About four fish in view per line: a new fish every ~7 lines, each ~28 lines long.
    std::vector<Fish> fish;
    for (int32_t line = 0; line < lineCount;) {
        const Fish f{line, pick(14, 42), pick(20, 980), pick(8, 30)};
        fish.push_back(f);
        // Every fourth fish swims alongside the previous one, close enough to touch.
        if (pick(0, 3) == 0) {
            fish.push_back(
                {line + pick(0, 6), pick(14, 42), f.centre + f.width - pick(0, 4), pick(8, 30)});
        }
        line += pick(3, 11);
    }
    std::sort(fish.begin(), fish.end(),
              [](const Fish& a, const Fish& b) { return a.firstLine < b.firstLine; });

    LineStream stream;
    std::vector<std::pair<int32_t, int32_t>> line;
    size_t next = 0;
    std::vector<Fish> inView;
    for (int32_t t = 0; t < lineCount; ++t) {
        while (next < fish.size() && fish[next].firstLine <= t) inView.push_back(fish[next++]);
        std::erase_if(inView, [&](const Fish& f) { return f.firstLine + f.length <= t; });
        line.clear();
        for (const Fish& f : inView) {
            // An elliptic outline.
            const double u = (t - f.firstLine + 0.5) / f.length * 2.0 - 1.0;
            const auto half = static_cast<int32_t>(f.width * std::sqrt(1.0 - u * u) / 2.0);
            if (half > 0) line.emplace_back(f.centre - half, f.centre + half);
        }
        // Dark runs of one line are ordered and disjoint: overlapping outlines make one run.
        std::sort(line.begin(), line.end());
        stream.firstRun.push_back(static_cast<int32_t>(stream.runs.size()));
        int32_t lastH = -1;
        for (const auto& [v, h] : line) {
            if (v <= lastH) {
                if (h > lastH) {
                    stream.runs.back() = static_cast<int16_t>(h);
                    lastH = h;
                }
                continue;
            }
            stream.runs.push_back(static_cast<int16_t>(v));
            stream.runs.push_back(static_cast<int16_t>(h));
            lastH = h;
        }
    }
    stream.firstRun.push_back(static_cast<int32_t>(stream.runs.size()));
    return stream;
}

void BM_SegmentationAndPairing(benchmark::State& bench) {
    constexpr int32_t lineCount = 1 << 20;
    const LineStream stream = makeStream(lineCount, 7);
    auto state = std::make_unique<CoreState>();
    CoreState& s = *state;
    s.channelCount = 2;
    s.channelTable[1] = {0, 500, 250};
    s.channelTable[2] = {501, 1000, 250};
    s.scanRightEdge = 1000;
    TForm2 form(s);
    for (int32_t ch = 1; ch <= 2; ++ch) {
        s.sizeGroup[ch] = 3;
        form.stillafiskiflokk(ch);
    }

    int64_t lines = 0;
    int64_t counted = 0;
    for (auto _ : bench) {
        for (int32_t t = 0; t < lineCount; ++t) {
            const int32_t first = stream.firstRun[t];
            const int32_t n = (stream.firstRun[t + 1] - first) / 2;
            for (int32_t k = 0; k < n; ++k) {
                s.currentLine[k + 1].v = stream.runs[first + 2 * k];
                s.currentLine[k + 1].h = stream.runs[first + 2 * k + 1];
            }
            velkor::filterSegments(s, n);
            form.porun();
            counted += s.closedCount;
        }
        lines += lineCount;
    }
    bench.SetItemsProcessed(lines);
    bench.counters["counted per 1000 lines"] =
        benchmark::Counter(1000.0 * static_cast<double>(counted) / static_cast<double>(lines));
    bench.counters["runs per line"] = benchmark::Counter(static_cast<double>(stream.runs.size()) /
                                                         2.0 / static_cast<double>(lineCount));
}
BENCHMARK(BM_SegmentationAndPairing)->Unit(benchmark::kMillisecond);

}  // namespace
