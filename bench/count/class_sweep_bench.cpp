// The class sweep (ten whole counts, one per class, on every core) against one whole count of the
// same four-channel generated recording, both as velkor-count makes them, in wall-clock time. The
// sweep is to take at most 10 x the whole count's time divided by the cores it uses: the program
// prints both times, the cores and that bound. VELKOR_BENCH_SWEEP_LINES sets the length (default
// 6,000,000 lines, about 90 minutes of recording; a day is about 96,000,000).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <thread>

#include "bench/replay/bench_session_folder.h"
#include "replay/whole_count.h"
#include "tools/velkor-count/class_sweep.h"

namespace {

struct SweepSession {
    SweepSession() : folder("velkor-sweep-bench") {
        const velkor::synth::SessionOptions o = velkor::bench::fourChannelSession(
            folder, 20261211, "VELKOR_BENCH_SWEEP_LINES", 6'000'000, {1, 2, 3, 4}, 5.0);
        velkor::synth::writeSession(o);
        blb = velkor::synth::recordingName(o.out);
        lines = o.scene.lines;
    }
    velkor::bench::BenchSessionFolder folder;
    std::string blb;
    int64_t lines = 0;
};

SweepSession& session() {
    static SweepSession s;
    return s;
}

size_t cores() {
    return std::max(1u, std::thread::hardware_concurrency());
}

double wholeCountSeconds = 0, sweepSeconds = 0;
// CPU time of the whole process (every thread): on a loaded machine the wall-clock time of the
// parallel counts depends on the cores the others leave free, the work done does not.
double wholeCountCpu = 0, sweepCpu = 0;

double processCpuSeconds() {
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

double seconds(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// One whole count as velkor-count --json makes it; with range 1 explaining, as every count of
// the sweep is (for the verdicts), and with range 2.. the report's classes moved that many up.
void BM_WholeCount_FourChannels(benchmark::State& state) {
    double total = 0;
    const double cpuStart = processCpuSeconds();
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        velkor::HeadlessEngine headless(velkor::linesPerSecond, -1);
        headless.engine.setExplaining(state.range(0) > 0);
        if (state.range(0) > 1)
            headless.engine.setClassOverrides(
                velkor::sweepClasses({0, 1, 2, 3, 4}, 4, static_cast<int32_t>(state.range(0) - 1)));
        if (!velkor::countWholeRecording(headless.engine, session().blb)) {
            state.SkipWithError(headless.engine.message().c_str());
            return;
        }
        benchmark::DoNotOptimize(headless.engine.channelTotal(1));
        total += seconds(start);
    }
    state.SetItemsProcessed(state.iterations() * session().lines);
    const double cpu = (processCpuSeconds() - cpuStart) / static_cast<double>(state.iterations());
    state.counters["process CPU s"] = cpu;
    if (state.range(0) == 0) {
        wholeCountSeconds = total / static_cast<double>(state.iterations());
        wholeCountCpu = cpu;
    }
}

void BM_ClassSweep_FourChannels(benchmark::State& state) {
    double total = 0;
    velkor::CountOptions options;
    const double cpuStart = processCpuSeconds();
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        velkor::ClassSweep sweep;
        const velkor::CountResult result =
            velkor::countClassSweep(session().blb, options, velkor::nothingGiven,
                                    static_cast<size_t>(state.range(0)), sweep);
        if (!result.ok) {
            state.SkipWithError(result.errors.c_str());
            return;
        }
        benchmark::DoNotOptimize(sweep.cells[1][0].total);
        total += seconds(start);
    }
    state.SetItemsProcessed(state.iterations() * session().lines * velkor::fishClassCount);
    const double cpu = (processCpuSeconds() - cpuStart) / static_cast<double>(state.iterations());
    state.counters["process CPU s"] = cpu;
    state.counters["threads"] = static_cast<double>(state.range(0));
    if (static_cast<size_t>(state.range(0)) == cores()) {
        sweepSeconds = total / static_cast<double>(state.iterations());
        sweepCpu = cpu;
    }
}

BENCHMARK(BM_WholeCount_FourChannels)
    ->DenseRange(0, 10)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(2.0);
// On one thread (the ten counts' cost) and on every core (what velkor-count does).
BENCHMARK(BM_ClassSweep_FourChannels)
    ->Arg(1)
    ->Arg(static_cast<int64_t>(cores()))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    std::printf("recording: %lld lines, 4 channels; %zu cores\n",
                static_cast<long long>(session().lines), cores());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (wholeCountSeconds > 0 && sweepSeconds > 0) {
        const double bound = 10 * wholeCountSeconds / static_cast<double>(cores());
        std::printf(
            "whole count %.2f s, sweep %.2f s (%.2f x the whole count) on %zu cores; "
            "bound 10 x whole / cores = %.2f s: %s\n",
            wholeCountSeconds, sweepSeconds, sweepSeconds / wholeCountSeconds, cores(), bound,
            sweepSeconds <= bound ? "within" : "over");
        std::printf("process CPU: whole count %.3f s, sweep %.3f s (%.2f x)\n", wholeCountCpu,
                    sweepCpu, sweepCpu / wholeCountCpu);
    }
    return 0;
}
