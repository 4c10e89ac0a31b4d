// Navigation of the replay engine on a long recording at the widest picture (W = 2001): the time
// from a handler's call to the frame read and its read-outs, for a step back, a jump, Begin, End
// and a track bar position, and the opening (line count pass and frame 1). The CPU time column
// is the figure to read on a shared machine; the recording is in the page cache after the first
// opening.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "bench/replay/navigation_recording.h"
#include "replay/replay_engine.h"

namespace {

using velkor::bench::navigationFrameWidth;
using velkor::bench::navigationRecording;

struct OpenEngine {
    velkor::Tsett settings;
    velkor::ReplayEngine engine{settings, nullptr};
    OpenEngine() {
        engine.setFrameWidth(navigationFrameWidth);
        if (!engine.OpenBlbFile(navigationRecording().blb))
            throw std::runtime_error(engine.message());
    }
};

OpenEngine& openEngine() {
    static OpenEngine e;
    return e;
}

void BM_Open(benchmark::State& state) {
    for (auto _ : state) {
        velkor::Tsett settings;
        velkor::ReplayEngine engine(settings, nullptr);
        engine.setFrameWidth(navigationFrameWidth);
        engine.OpenBlbFile(navigationRecording().blb);
        benchmark::DoNotOptimize(engine.lineCount());
    }
    state.SetBytesProcessed(state.iterations() * navigationRecording().bytes);
}

// Backward from the last frames: every step reads the frame before, a jump.
void BM_StepBack(benchmark::State& state) {
    velkor::ReplayEngine& e = openEngine().engine;
    e.endbtnClick();
    for (auto _ : state) {
        if (e.currentFrame() <= e.frameCount() - 50) {
            state.PauseTiming();
            e.endbtnClick();
            state.ResumeTiming();
        }
        e.backwardbtnClick();
    }
}

// Jumps between frames far apart, back and forth across the recording.
void BM_Jump(benchmark::State& state) {
    velkor::ReplayEngine& e = openEngine().engine;
    int32_t k = 0;
    for (auto _ : state) {
        const int32_t frame = (k % 2 ? e.frameCount() - 1 - k : 1 + k * 7919) % e.frameCount() + 1;
        e.setCurrentFrame(frame);
        e.lesaramma(frame);
        ++k;
    }
}

void BM_Begin(benchmark::State& state) {
    velkor::ReplayEngine& e = openEngine().engine;
    for (auto _ : state) {
        state.PauseTiming();
        e.endbtnClick();
        state.ResumeTiming();
        e.beginbtnClick();
    }
}

void BM_End(benchmark::State& state) {
    velkor::ReplayEngine& e = openEngine().engine;
    for (auto _ : state) {
        state.PauseTiming();
        e.beginbtnClick();
        state.ResumeTiming();
        e.endbtnClick();
    }
}

// Track bar positions as a drag across the whole bar delivers them, alternating directions.
void BM_TrackBarPosition(benchmark::State& state) {
    velkor::ReplayEngine& e = openEngine().engine;
    const int32_t maximum = e.trackBar().maximum;
    int32_t k = 0;
    for (auto _ : state) {
        const int32_t step = k % (2 * maximum);
        e.TrackBar1Change(step < maximum ? step + 1 : 2 * maximum - step);
        ++k;
    }
}

BENCHMARK(BM_Open)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_StepBack)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Jump)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Begin)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_End)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_TrackBarPosition)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    std::printf("recording: %s, %.2f GB, W = %d\n", navigationRecording().blb.c_str(),
                static_cast<double>(navigationRecording().bytes) / 1e9, navigationFrameWidth);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
