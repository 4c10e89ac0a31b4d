// Replay throughput on a long generated recording: the whole count (lines/s), the floor of
// reading the file in 2,000,000-byte blocks and summing its words, and the line-count pass of
// the opening (bytes/s). Prints the ratio of the whole count to the floor.
// VELKOR_BENCH_LINES sets the recording's length (default 20 million lines). The whole count is
// also measured on two generated sessions (see generated_session.h), a dense but realistic one
// and a crowded one, each with its own read floor and the ratio of the two.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>
#include <vector>

#include "bench/replay/generated_session.h"
#include "bench/replay/long_recording.h"
#include "io/counter_constants.h"
#include "replay/record_reader.h"
#include "replay/replay_engine.h"

namespace {

// Processor time of the process (the benchmarks run on one thread): the figures hold on a
// machine shared with other work.
double cpuSeconds() {
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

struct Recording {
    std::string blb;
    int64_t lines;
    int64_t bytes;
    Recording() {
        const char* env = std::getenv("VELKOR_BENCH_LINES");
        lines = env ? std::atoll(env) : 20'000'000;
        blb = (std::filesystem::temp_directory_path() /
               ("velkor-bench-" + std::to_string(getpid()) + ".blb"))
                  .string();
        velkor::bench::writeLongRecording(blb, lines);
        bytes = static_cast<int64_t>(std::filesystem::file_size(blb));
    }
    ~Recording() {
        std::filesystem::remove(blb);
        std::filesystem::remove(blb.substr(0, blb.size() - 4) + ".mse");
    }
};

Recording& recording() {
    static Recording r;
    return r;
}

double wholeCountLinesPerSecond = 0, floorLinesPerSecond = 0;
// Lines per second of the whole count and of the read floor, per generated session.
double denseCount = 0, denseFloor = 0, crowdedCount = 0, crowdedFloor = 0;

// Reads the file in blocks of the reader's size and sums its words; returns the processor
// seconds.
double readFloorSeconds(const std::string& name) {
    static std::vector<char> block(velkor::blockBytes);
    const double start = cpuSeconds();
    std::FILE* f = std::fopen(name.c_str(), "rb");
    int64_t sum = 0;
    size_t n;
    while ((n = std::fread(block.data(), 1, block.size(), f)) > 0) {
        const auto* words = reinterpret_cast<const int16_t*>(block.data());
        for (size_t i = 0; i < n / 2; ++i) sum += words[i];
    }
    std::fclose(f);
    benchmark::DoNotOptimize(sum);
    return cpuSeconds() - start;
}

void BM_WholeCount(benchmark::State& state) {
    Recording& r = recording();
    double seconds = 0;
    for (auto _ : state) {
        const double start = cpuSeconds();
        velkor::Tsett settings;
        velkor::ReplayEngine engine(settings, nullptr);
        engine.setFrameWidth(velkor::linesPerSecond);
        engine.setKeepFrameStore(false);  // as velkor-count counts
        engine.OpenBlbFile(r.blb);
        for (int32_t f = 2; f <= engine.frameCount(); ++f) engine.FarwardbtnClick();
        benchmark::DoNotOptimize(engine.channelTotal(1));
        seconds += cpuSeconds() - start;
    }
    state.SetItemsProcessed(state.iterations() * r.lines);
    wholeCountLinesPerSecond = state.iterations() * r.lines / seconds;
}

void BM_ReadFloor(benchmark::State& state) {
    Recording& r = recording();
    double seconds = 0;
    for (auto _ : state) seconds += readFloorSeconds(r.blb);
    state.SetItemsProcessed(state.iterations() * r.lines);
    state.SetBytesProcessed(state.iterations() * r.bytes);
    floorLinesPerSecond = state.iterations() * r.lines / seconds;
}

void BM_LineCountPass(benchmark::State& state) {
    Recording& r = recording();
    velkor::RecordReader reader;
    for (auto _ : state) {
        reader.open(r.blb);
        benchmark::DoNotOptimize(reader.fjoldilinaiskra());
    }
    state.SetBytesProcessed(state.iterations() * r.bytes);
}

// The whole count of a generated session, as velkor-count does it: open, then every frame of
// one second (W = 1116) in order.
double wholeCountGenerated(benchmark::State& state, velkor::bench::GeneratedSession& session) {
    int64_t counted = 0;
    double seconds = 0;
    for (auto _ : state) {
        const double start = cpuSeconds();
        velkor::Tsett settings;
        velkor::ReplayEngine engine(settings, nullptr);
        engine.setFrameWidth(velkor::linesPerSecond);
        engine.setKeepFrameStore(false);  // as velkor-count counts
        if (!engine.OpenBlbFile(session.blb)) {
            state.SkipWithError(engine.message().c_str());
            return 0;
        }
        for (int32_t f = 2; f <= engine.frameCount(); ++f) engine.FarwardbtnClick();
        counted = 0;
        for (int32_t c = 1; c <= engine.core().channelCount; ++c) counted += engine.channelTotal(c);
        benchmark::DoNotOptimize(counted);
        seconds += cpuSeconds() - start;
    }
    state.SetItemsProcessed(state.iterations() * session.lines);
    state.counters["lines"] = static_cast<double>(session.lines);
    state.counters["runs per line"] = session.runsPerLine();
    state.counters["fish/s drawn"] = session.fishPerSecond();
    state.counters["fish drawn"] = static_cast<double>(session.fishDrawn);
    state.counters["fish counted"] = static_cast<double>(counted);
    return state.iterations() * session.lines / seconds;
}

// The read floor of a generated session, in lines per second.
double readFloorGenerated(benchmark::State& state, velkor::bench::GeneratedSession& session) {
    double seconds = 0;
    for (auto _ : state) seconds += readFloorSeconds(session.blb);
    state.SetItemsProcessed(state.iterations() * session.lines);
    state.SetBytesProcessed(state.iterations() * session.bytes);
    return state.iterations() * session.lines / seconds;
}

void BM_WholeCount_GeneratedDense(benchmark::State& state) {
    denseCount = wholeCountGenerated(state, velkor::bench::denseSession());
}
void BM_WholeCount_GeneratedCrowded(benchmark::State& state) {
    crowdedCount = wholeCountGenerated(state, velkor::bench::crowdedSession());
}
void BM_ReadFloor_GeneratedDense(benchmark::State& state) {
    denseFloor = readFloorGenerated(state, velkor::bench::denseSession());
}
void BM_ReadFloor_GeneratedCrowded(benchmark::State& state) {
    crowdedFloor = readFloorGenerated(state, velkor::bench::crowdedSession());
}

BENCHMARK(BM_WholeCount)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ReadFloor)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_LineCountPass)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_WholeCount_GeneratedDense)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_WholeCount_GeneratedCrowded)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ReadFloor_GeneratedDense)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ReadFloor_GeneratedCrowded)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    std::printf("recording: %lld lines, %lld bytes\n", static_cast<long long>(recording().lines),
                static_cast<long long>(recording().bytes));
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (wholeCountLinesPerSecond > 0 && floorLinesPerSecond > 0)
        std::printf("whole count / read floor: %.3f (%.1f M lines/s against %.1f M lines/s)\n",
                    wholeCountLinesPerSecond / floorLinesPerSecond, wholeCountLinesPerSecond / 1e6,
                    floorLinesPerSecond / 1e6);
    const auto ratio = [](const char* name, double count, double floor) {
        if (count > 0 && floor > 0)
            std::printf(
                "%s session: whole count %.1f M lines/s, read floor %.1f M lines/s, "
                "ratio %.3f\n",
                name, count / 1e6, floor / 1e6, count / floor);
    };
    ratio("dense", denseCount, denseFloor);
    ratio("crowded", crowdedCount, crowdedFloor);
    return 0;
}
