// Navigation of the View Record window on a long recording with a picture 2001 pixels wide: the
// time from a handler's call to the painted picture (frame read, read-outs, track bar, chart
// marker and the picture painted at once). Runs off screen unless QT_QPA_PLATFORM says otherwise.
// The recording is that of the engine's navigation benchmark (see navigation_recording.h).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "bench/replay/navigation_recording.h"
#include "bench/support/bench_window.h"
#include "ui/navigation/selection_track_bar.h"

namespace {

using velkor::bench::navigationFrameWidth;
using velkor::bench::navigationRecording;

using OpenWindow = velkor::bench::BenchWindow;

OpenWindow& openWindow() {
    static OpenWindow w(navigationRecording().blb, navigationFrameWidth);
    return w;
}

void BM_WindowStepBack(benchmark::State& state) {
    velkor::TfrmRecord& w = *openWindow().window;
    w.endbtnClick();
    for (auto _ : state) {
        if (w.engine().currentFrame() <= w.engine().frameCount() - 50) {
            state.PauseTiming();
            w.endbtnClick();
            state.ResumeTiming();
        }
        velkor::bench::navigateAndPaint(w, [&] { w.backwardbtnClick(); });
    }
}

void BM_WindowBegin(benchmark::State& state) {
    velkor::TfrmRecord& w = *openWindow().window;
    velkor::bench::timeMoves(
        state, w, [&] { w.endbtnClick(); }, [&] { w.beginbtnClick(); });
}

void BM_WindowEnd(benchmark::State& state) {
    velkor::TfrmRecord& w = *openWindow().window;
    velkor::bench::timeMoves(
        state, w, [&] { w.beginbtnClick(); }, [&] { w.endbtnClick(); });
}

// Jumps far across the recording, as a click on the track bar away from the thumb makes them.
void BM_WindowTrackBarPosition(benchmark::State& state) {
    velkor::TfrmRecord& w = *openWindow().window;
    const int maximum = w.TrackBar1->maximum();
    int k = 0;
    for (auto _ : state) {
        const int position = (k * 37) % maximum + 1;
        velkor::bench::navigateAndPaint(w, [&] { w.TrackBar1Change(position); });
        ++k;
    }
}

}  // namespace

int main(int argc, char** argv) {
    return velkor::bench::runNavigationWindowBenchmarks(
        argc, argv, openWindow,
        {{"BM_WindowStepBack", BM_WindowStepBack},
         {"BM_WindowBegin", BM_WindowBegin},
         {"BM_WindowEnd", BM_WindowEnd},
         {"BM_WindowTrackBarPosition", BM_WindowTrackBarPosition}});
}
