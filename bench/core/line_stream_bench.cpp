// Throughput of segmentation and pairing on a long stream of realistic scan lines: fish of a
// few tens of lines and pixels crossing two channels, a few in view on every line, some of
// them touching so that splits and merges occur. Reports lines per second. The same is measured
// on the lines of two generated sessions (bench/replay/generated_session.h), a dense but
// realistic one and a crowded one, read into memory once.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "bench/replay/generated_session.h"
#include "core/TForm2.h"
#include "core/segmentation.h"
#include "replay/record_reader.h"
#include "settings/session_report.h"

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

// Feeds the whole stream through segmentation and pairing once per iteration; reports lines per
// second, closed objects per 1000 lines and the stream's runs per line.
void feedStream(benchmark::State& bench, const LineStream& stream, CoreState& s, TForm2& form) {
    const auto lineCount = static_cast<int32_t>(stream.firstRun.size() - 1);
    int64_t lines = 0;
    int64_t counted = 0;
    for (auto _ : bench) {
        for (int32_t t = 0; t < lineCount; ++t) {
            const int32_t first = stream.firstRun[t];
            const int32_t n = (stream.firstRun[t + 1] - first) / 2;
            for (int32_t k = 0; k < n; ++k) {
                s.currentLine()[k + 1].v = stream.runs[first + 2 * k];
                s.currentLine()[k + 1].h = stream.runs[first + 2 * k + 1];
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

    feedStream(bench, stream, s, form);
}
BENCHMARK(BM_SegmentationAndPairing)->Unit(benchmark::kMillisecond);

// A generated session's lines as the reader delivers them, with its report.
struct GeneratedLines {
    LineStream stream;
    velkor::SessionReport report;
    double fishPerSecond = 0;
    explicit GeneratedLines(const velkor::bench::GeneratedSession& session) {
        fishPerSecond = session.fishPerSecond();
        velkor::nyjarstillingar(session.blb, report, nullptr);
        velkor::RecordReader reader;
        reader.open(session.blb);
        const int32_t lineCount = reader.fjoldilinaiskra();
        reader.seekLine(1);
        auto line = std::make_unique<velkor::LineArray>();
        stream.firstRun.reserve(static_cast<size_t>(lineCount) + 1);
        stream.runs.reserve(static_cast<size_t>(2 * session.runs));
        for (int32_t l = 1; l <= lineCount; ++l) {
            reader.readRecordLine(*line);
            stream.firstRun.push_back(static_cast<int32_t>(stream.runs.size()));
            for (int32_t k = 1; k <= reader.deliveredSegmentCount(); ++k) {
                stream.runs.push_back(static_cast<int16_t>((*line)[k].v));
                stream.runs.push_back(static_cast<int16_t>((*line)[k].h));
            }
        }
        stream.firstRun.push_back(static_cast<int32_t>(stream.runs.size()));
    }
};

// Segmentation and pairing of a generated session's lines, the core set up from its report as
// a recording's opening does.
void generatedStream(benchmark::State& bench, const GeneratedLines& g) {
    auto state = std::make_unique<CoreState>();
    CoreState& s = *state;
    const velkor::SessionReport& r = g.report;
    velkor::applySessionReport(r, s);
    TForm2 form(s);
    for (int32_t ch = 1; ch <= r.channelCount; ++ch) form.stillafiskiflokk(ch);
    feedStream(bench, g.stream, s, form);
    bench.counters["fish/s drawn"] = g.fishPerSecond;
}

void BM_SegmentationAndPairing_GeneratedDense(benchmark::State& bench) {
    static const GeneratedLines g(velkor::bench::denseSession());
    generatedStream(bench, g);
}
void BM_SegmentationAndPairing_GeneratedCrowded(benchmark::State& bench) {
    static const GeneratedLines g(velkor::bench::crowdedSession());
    generatedStream(bench, g);
}
BENCHMARK(BM_SegmentationAndPairing_GeneratedDense)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SegmentationAndPairing_GeneratedCrowded)->Unit(benchmark::kMillisecond);

}  // namespace
