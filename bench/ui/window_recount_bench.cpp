// Navigation of the View Record window while the whole recording is counted again with another
// size class on its worker thread, beside the same navigation with no count running: the time from
// a handler's call to the painted picture. A recount that ends is followed by another (the class
// chosen changes), so every timed move happens while one runs; "recounting" says what share of
// the moves the worker was counting. Runs off screen unless QT_QPA_PLATFORM says otherwise. The
// recording is that of the engine's navigation benchmark (see navigation_recording.h).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <atomic>
#include <cstdio>

#include "bench/replay/navigation_recording.h"
#include "bench/support/bench_window.h"
#include "ui/counters/class_chooser.h"
#include "ui/navigation/selection_track_bar.h"

namespace {

using velkor::bench::navigationFrameWidth;
using velkor::bench::navigationRecording;

// The worker's progress, as its hook reports it after every frame.
std::atomic<int32_t> workerFrame{0};
std::atomic<int32_t> workerFrames{1};

velkor::bench::BenchWindow& openWindow() {
    static velkor::bench::BenchWindow w(navigationRecording().blb, navigationFrameWidth);
    static const bool hooked = [] {
        w.window->comparison->onBackgroundFrame = [](const velkor::BackgroundCount&, int32_t done,
                                                     int32_t frames) {
            workerFrames = frames;
            workerFrame = done;
        };
        return true;
    }();
    (void)hooked;
    return w;
}

// No count runs afterwards; the progress seen last is forgotten.
void stopCount(velkor::TfrmRecord& w) {
    w.stopBackgroundCount();
    workerFrame = 0;
}

bool workerCounting() {
    return workerFrame.load() > 0 && workerFrame.load() < workerFrames.load();
}

// Starts a recount with another class of channel 1 unless one is under way.
void keepRecounting(velkor::TfrmRecord& w) {
    if (workerCounting()) return;
    workerFrame = 0;
    // Another class than the one chosen now; neither is the report's class 2.
    w.classChooser[1]->choose(w.classChooser[1]->chosenClass() == 4 ? 5 : 4);
    while (workerFrame.load() == 0) QApplication::processEvents();  // the worker has begun
}

// Forward steps, and a jump back to the first frame every 50 steps (untimed).
void stepForward(benchmark::State& state, bool recounting) {
    velkor::TfrmRecord& w = *openWindow().window;
    stopCount(w);
    w.beginbtnClick();
    int64_t moves = 0, counting = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (w.engine().currentFrame() >= 50) w.beginbtnClick();
        if (recounting) keepRecounting(w);
        state.ResumeTiming();
        velkor::bench::navigateAndPaint(w, [&] { w.FarwardbtnClick(); });
        ++moves;
        counting += workerCounting();
    }
    stopCount(w);
    state.counters["recounting"] = moves > 0 ? double(counting) / double(moves) : 0;
}

// Jumps far across the recording, as a click on the track bar away from the thumb makes them.
void jump(benchmark::State& state, bool recounting) {
    velkor::TfrmRecord& w = *openWindow().window;
    stopCount(w);
    const int maximum = w.TrackBar1->maximum();
    int k = 0;
    int64_t moves = 0, counting = 0;
    for (auto _ : state) {
        if (recounting) {
            state.PauseTiming();
            keepRecounting(w);
            state.ResumeTiming();
        }
        const int position = (k++ * 37) % maximum + 1;
        velkor::bench::navigateAndPaint(w, [&] { w.TrackBar1Change(position); });
        ++moves;
        counting += workerCounting();
    }
    stopCount(w);
    state.counters["recounting"] = moves > 0 ? double(counting) / double(moves) : 0;
}

}  // namespace

int main(int argc, char** argv) {
    return velkor::bench::runNavigationWindowBenchmarks(
        argc, argv, openWindow,
        {{"BM_WindowStepForward", [](benchmark::State& s) { stepForward(s, false); }},
         {"BM_WindowStepForwardDuringRecount", [](benchmark::State& s) { stepForward(s, true); }},
         {"BM_WindowTrackBarJump", [](benchmark::State& s) { jump(s, false); }},
         {"BM_WindowTrackBarJumpDuringRecount", [](benchmark::State& s) { jump(s, true); }}});
}
