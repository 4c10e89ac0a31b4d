// The checkpoints of the background count on the crowded four-channel session (40 fish per second
// per channel, 6,000,000 lines unless VELKOR_BENCH_SYNTH_LINES says otherwise), at frames of 500
// and 2001 lines:
//  - BM_CheckpointMemory: what the store holds for the session, and that extrapolated to 24 hours
//    (96,422,400 lines): checkpoints a day at the store's spacing times the mean compact size, plus
//    a chunk and the index. Measured with no budget, so that nothing is dropped.
//  - BM_JumpAsCounted: jumps as counted by an engine like the window's (frame store on), to
//    frames spread over the session and to the farthest frames from a checkpoint (the frame
//    before the next one): median and worst in ms, and the lines read on.
//  - BM_KeepCheckpoint: what one checkpoint costs the count (taking it, its compact form).
//  - BM_BackgroundCount: the whole count on its thread, with and without checkpoints.
// Wall-clock times and CPU times (the count's thread included): on a machine shared with other
// work, read the CPU times.
#include <benchmark/benchmark.h>

#include <time.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <stdexcept>
#include <thread>
#include <vector>

#include "bench/replay/generated_session.h"
#include "replay/background_count.h"
#include "replay/compact_checkpoint.h"
#include "replay/seek_as_counted.h"
#include "replay/whole_count.h"

namespace {

using namespace velkor;
using bench::crowdedSession;
using Clock = std::chrono::steady_clock;

// CPU time of the calling thread, or of the whole process (every thread), in ms: the figures to
// read on a busy machine, where the wall clock also counts the time other work had the cores.
double cpuMs(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

constexpr double linesPerDay = 24.0 * 3600.0 * linesPerSecond;

// The crowded session's store at frame width W, filled by a whole count with no budget.
std::shared_ptr<const CheckpointStore> filledStore(int32_t frameWidth) {
    auto store = std::make_shared<CheckpointStore>(
        frameWidth, noClassOverrides, CheckpointStore::defaultSpacingLines, int64_t{1} << 40);
    HeadlessEngine whole(frameWidth, -1);
    whole.engine.setExplaining(true);  // as the background count reads
    if (!countWholeRecording(whole.engine, crowdedSession().blb, [&](int32_t done, int32_t) {
            store->frameCounted(whole.engine, done);
            return true;
        }))
        throw std::runtime_error("the crowded session could not be counted");
    store->countFinished();
    return store;
}

const CheckpointStore& storeAt(int32_t frameWidth) {
    static std::shared_ptr<const CheckpointStore> at500 = filledStore(500);
    static std::shared_ptr<const CheckpointStore> at2001 = filledStore(2001);
    return frameWidth == 500 ? *at500 : *at2001;
}

void BM_CheckpointMemory(benchmark::State& state) {
    const auto frameWidth = static_cast<int32_t>(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(storeAt(frameWidth).size());
    const CheckpointStore& store = storeAt(frameWidth);
    const double meanBytes = static_cast<double>(store.usedBytes()) / store.size();
    const double spacingLines = static_cast<double>(store.spacingFrames()) * frameWidth;
    const double perDay = std::ceil(linesPerDay / spacingLines);
    const double chunk = 1 << 20;
    // Every chunk but the last is full to within one checkpoint.
    const double dayBytes = std::ceil(perDay * meanBytes / (chunk - 100000)) * chunk + perDay * 16;
    state.counters["session_lines"] = static_cast<double>(crowdedSession().lines);
    state.counters["checkpoints"] = store.size();
    state.counters["spacing_frames"] = store.spacingFrames();
    state.counters["mean_KB"] = meanBytes / 1024;
    state.counters["full_KB"] = sizeof(EngineCheckpoint) / 1024.0;
    state.counters["session_MB"] = static_cast<double>(store.bytes()) / chunk;
    state.counters["day_checkpoints"] = perDay;
    state.counters["day_MB"] = dayBytes / chunk;
}
BENCHMARK(BM_CheckpointMemory)->Arg(500)->Arg(2001)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_JumpAsCounted(benchmark::State& state) {
    const auto frameWidth = static_cast<int32_t>(state.range(0));
    const CheckpointStore& store = storeAt(frameWidth);
    Tsett settings;
    settings.countertype = -1;
    ReplayEngine window(settings, nullptr, true);
    window.setFrameWidth(frameWidth);
    if (!window.OpenBlbFile(crowdedSession().blb)) throw std::runtime_error(window.message());
    const int32_t frames = window.frameCount();
    const int32_t k = store.spacingFrames();

    // Spread frames, and the frame before each of the first 40 checkpoints after frame 1.
    std::vector<int32_t> targets;
    for (int32_t i = 0; i < 100; ++i)
        targets.push_back(1 + static_cast<int32_t>((int64_t{i} * 7919 * k + i * 13) % frames));
    for (int32_t c = 1; c <= 40 && 1 + c * k <= frames; ++c) targets.push_back(c * k);

    std::vector<double> ms;
    std::vector<double> cpu;
    int64_t worstLines = 0;
    for (auto _ : state) {
        ms.clear();
        cpu.clear();
        for (int32_t frame : targets) {
            const auto start = Clock::now();
            const double startCpu = cpuMs(CLOCK_THREAD_CPUTIME_ID);
            if (readAsCounted(window, store, frame) != SeekOutcome::reached)
                throw std::runtime_error("no jump");
            cpu.push_back(cpuMs(CLOCK_THREAD_CPUTIME_ID) - startCpu);
            ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
            const int64_t lines = int64_t{frame - store.nearestFrame(frame - 1)} * frameWidth;
            worstLines = std::max(worstLines, lines);
        }
    }
    std::sort(ms.begin(), ms.end());
    std::sort(cpu.begin(), cpu.end());
    state.counters["jumps"] = static_cast<double>(ms.size());
    state.counters["median_ms"] = ms[ms.size() / 2];
    state.counters["worst_ms"] = ms.back();
    state.counters["median_cpu_ms"] = cpu[cpu.size() / 2];
    state.counters["worst_cpu_ms"] = cpu.back();
    state.counters["worst_lines_read"] = static_cast<double>(worstLines);
}
BENCHMARK(BM_JumpAsCounted)->Arg(500)->Arg(2001)->Iterations(1)->Unit(benchmark::kMillisecond);

// What keeping one checkpoint costs the count: taking it and making its compact form, mid-way
// through the crowded session.
void BM_KeepCheckpoint(benchmark::State& state) {
    HeadlessEngine whole(500, -1);
    if (!whole.engine.OpenBlbFile(crowdedSession().blb))
        throw std::runtime_error(whole.engine.message());
    while (whole.engine.currentFrame() < whole.engine.frameCount() / 2)
        whole.engine.FarwardbtnClick();
    auto taken = std::make_unique<EngineCheckpoint>();
    auto compact = std::make_unique<uint32_t[]>(maxCompactWords);
    for (auto _ : state) {
        whole.engine.takeCheckpoint(*taken);
        benchmark::DoNotOptimize(compactCheckpoint(*taken, compact.get()));
    }
}
BENCHMARK(BM_KeepCheckpoint)->Unit(benchmark::kMicrosecond);

void BM_BackgroundCount(benchmark::State& state) {
    const auto frameWidth = static_cast<int32_t>(state.range(0));
    const bool keep = state.range(1) != 0;
    int32_t kept = 0;
    const double startCpu = cpuMs(CLOCK_PROCESS_CPUTIME_ID);
    for (auto _ : state) {
        BackgroundCount count(crowdedSession().blb, frameWidth, -1);
        count.setKeepCheckpoints(keep);
        count.start();
        while (!count.finished()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (!count.result().counted) throw std::runtime_error(count.result().error);
        kept = count.checkpoints()->size();
    }
    state.counters["checkpoints"] = kept;
    state.counters["cpu_ms"] =
        (cpuMs(CLOCK_PROCESS_CPUTIME_ID) - startCpu) / static_cast<double>(state.iterations());
    state.SetItemsProcessed(state.iterations() * crowdedSession().lines);
}
BENCHMARK(BM_BackgroundCount)
    ->ArgsProduct({{500, 2001}, {0, 1}})
    ->Iterations(5)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
