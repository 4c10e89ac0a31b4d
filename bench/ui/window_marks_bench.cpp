// Stepping forward in the View Record window with the marks on and off, on the crowded generated
// session (40 fish per second per channel, four channels) with a picture 2001 pixels wide: the
// time from the Forward handler's call to the painted picture (frame read and counted, ended
// objects kept, strokes, marks and labels drawn, read-outs shown). Runs off screen unless
// QT_QPA_PLATFORM says otherwise. VELKOR_BENCH_SYNTH_LINES sets the session's length.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTimer>
#include <QToolButton>
#include <cstdio>
#include <memory>

#include "bench/replay/generated_session.h"
#include "bench/support/bench_window.h"

namespace {

constexpr int pictureWidth = 2001;

using OpenWindow = velkor::bench::BenchWindow;

OpenWindow& openWindow() {
    static OpenWindow w(velkor::bench::crowdedSession().blb, pictureWidth);
    return w;
}

void stepForward(benchmark::State& state, bool marks) {
    velkor::TfrmRecord& w = *openWindow().window;
    if (w.marksbtn->isChecked() != marks) w.marksbtn->click();
    w.beginbtnClick();
    int64_t marked = 0;
    for (auto _ : state) {
        if (w.engine().currentFrame() >= w.engine().frameCount()) {
            state.PauseTiming();
            w.beginbtnClick();
            state.ResumeTiming();
        }
        w.FarwardbtnClick();
        w.PaintBox1->repaint();
        marked += w.PaintBox1->marks().count();
    }
    state.counters["marks per frame"] =
        static_cast<double>(marked) / static_cast<double>(state.iterations());
}

}  // namespace

int main(int argc, char** argv) {
    velkor::bench::registerWindowBenchmarks(
        {{"BM_WindowStepMarksOn", [](benchmark::State& s) { stepForward(s, true); }},
         {"BM_WindowStepMarksOff", [](benchmark::State& s) { stepForward(s, false); }}},
        2.0);
    return velkor::bench::runWindowBenchmarks(
        argc, argv,
        [] {
            const auto& session = velkor::bench::crowdedSession();
            std::printf("session: %lld lines, %.1f fish/s drawn, picture %d pixels wide\n",
                        static_cast<long long>(session.lines), session.fishPerSecond(),
                        pictureWidth);
        },
        openWindow);
}
